#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "engine/RunOptions.h"
#include "model/Message.h"
#include "model/Scenario.h"

namespace finplan::cli {

// A failure with the message the user sees; the command exits with status 1.
struct CommandError {
    std::string text;
};

using Args = std::vector<std::string>;

// Reads a scenario file as the application opens one at start-up.
std::unique_ptr<Scenario> readScenario(const std::string& path);

// Prints what core operations report to the error stream; questions are answered No.
class StreamNotifier : public Notifier {
  public:
    explicit StreamNotifier(std::ostream& err) : m_err(err) {}
    void notify(const Message& message) override;
    bool confirm(const Message& question) override;

  private:
    std::ostream& m_err;
};

int commandRun(const Args& args, std::ostream& out, std::ostream& err);
int commandDescribe(const Args& args, std::ostream& out, std::ostream& err);
int commandRule72t(const Args& args, std::ostream& out, std::ostream& err);
int commandReport(const Args& args, std::ostream& out, std::ostream& err);
int commandPaginate(const Args& args, std::ostream& out, std::ostream& err);
int commandExport(const Args& args, std::ostream& out, std::ostream& err);
int commandSaveGraphs(const Args& args, std::ostream& out, std::ostream& err);

// Today's date and the time of day from the clock.
LocalDateTime clockNow();

// The directory of the running program, where its data files lie.
std::string programDirectory();

} // namespace finplan::cli
