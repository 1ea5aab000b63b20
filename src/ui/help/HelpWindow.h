#pragma once

class QWidget;

namespace finplan {

// Opens the help window at a topic of help/HelpTopics.h; one window serves the whole program.
void openHelpTopic(QWidget* from, int topic);

} // namespace finplan
