#pragma once

#include <QString>

namespace finplan {

class MainWindow;

// "Results" -> "results", "Incoming/Outgoing" -> "incoming-outgoing".
QString pictureTitle(const QString& title);
// Draws every folder and the window into `directory` as "NN-KIND-TITLE.png"; false when a
// picture cannot be written.
bool takeScreenshots(MainWindow& window, const QString& directory);

} // namespace finplan
