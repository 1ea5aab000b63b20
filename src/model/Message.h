#pragma once

#include <optional>
#include <string>
#include <utility>

namespace finplan {

enum class MessageKind { Information, Warning, Error, Question };

// A message a core operation reports; only the user interface shows it. `id` is the number of
// the message's text among the system's numbered messages (0 for one that has none).
struct Message {
    std::string text;
    std::string caption;
    MessageKind kind = MessageKind::Error;
    int id = 0;
    // The form field the message is about (the record field's name, "startAge"), so that a
    // dialog can put the focus there; empty for other messages.
    std::string field = {};

    bool operator==(const Message&) const = default;
};

// The outcome of a core operation that can fail: success, or the message that says why not.
// The one way the core reports a failure; the window decides how to show it.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Message failure) : m_failure(std::move(failure)) {}
    static Status error(std::string text, std::string caption, int id = 0) {
        return Message{std::move(text), std::move(caption), MessageKind::Error, id};
    }

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    // Only for a failure.
    const Message& message() const { return *m_failure; }

  private:
    std::optional<Message> m_failure;
};

// The outcome of a core operation that gives a value: the value, or the message that says why
// there is none.
template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Message failure) : m_failure(std::move(failure)) {}
    Result(Status status) : m_failure(status.message()) {} // only from a failed Status

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const Message& message() const { return *m_failure; }
    Status status() const { return m_failure ? Status(*m_failure) : Status(); }

  private:
    std::optional<T> m_value;
    std::optional<Message> m_failure;
};

// Numbers of the core's own messages that a caller tells apart from others.
inline constexpr int kMessageCannotOpen = 10001; // a file that cannot be opened or read
inline constexpr int kMessageInvalidFile = 10002;
inline constexpr int kMessageDeclined = 10003; // the user answered No: nothing was done

// Where core operations send the messages they report while they go on (a run reports and
// continues), and the yes/no questions they must ask (the overwrite question of a save).
class Notifier {
  public:
    virtual ~Notifier() = default;
    virtual void notify(const Message& message) = 0;
    // Returns true for Yes.
    virtual bool confirm(const Message& question) = 0;
};

} // namespace finplan
