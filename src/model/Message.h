#pragma once

#include <string>

namespace finplan {

enum class MessageKind { Information, Warning, Error, Question };

// A message a core operation reports; only the user interface shows it.
struct Message {
    std::string text;
    std::string caption;
    MessageKind kind = MessageKind::Error;

    bool operator==(const Message&) const = default;
};

// Where core operations send the messages they report while they run, and the yes/no
// questions they must ask (the overwrite question of a save).
class Notifier {
  public:
    virtual ~Notifier() = default;
    virtual void notify(const Message& message) = 0;
    // Returns true for Yes.
    virtual bool confirm(const Message& question) = 0;
};

} // namespace finplan
