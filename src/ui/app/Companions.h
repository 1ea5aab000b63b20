#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPixmap;
class QUrl;

namespace finplan {

class MainWindow;
class Prompter;

// Where the window starts other programs and opens the mail program, so that tests can stand
// in for them.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // Starts `program` without waiting for it.
    virtual bool startDetached(const QString& program, const QStringList& arguments);
    // The full path of `name` found in the search path, or empty.
    virtual QString findExecutable(const QString& name);
    virtual bool openUrl(const QUrl& url);
};

// The support mail address of "Contact ... by Email".
inline constexpr const char* kSupportAddress = "support@vantrelsoftware.com";

// The desktop calculators tried in order by "Window's Calculator".
inline constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator",
                                               "qalculate-gtk", "xcalc"};

// The viewers are modes of this program: "--plot FILE", "--compare FILE...", "--graph FILE"
// and "--rule72t".
QString companionProgram();

// Commands 501 (graph window), 178 (compare scenarios), 904 (Rule 72T calculator), 884 (the
// calculator) and 887 (mail to support). `plotFile` is the last run's plot file. False for
// another command.
bool runCompanionCommand(int id, const QString& plotFile, ProgramStarter& starter,
                         Prompter& prompter);

// The viewers for "--screenshots": each picture with its kind and title.
using CompanionPicture = std::function<void(const QPixmap&, const char*, const QString&)>;
void companionScreenshots(MainWindow& window, const CompanionPicture& save);

} // namespace finplan
