#include "ui/platform/Icons.h"

#include <QApplication>
#include <QString>

// The resources live in a static library: without this reference the linker drops them.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace finplan {

namespace {

// A theme may list an icon in a format this Qt cannot draw (SVG without its plugin).
QIcon drawableThemeIcon(const QString& name) {
    if (QIcon::hasThemeIcon(name)) {
        QIcon icon = QIcon::fromTheme(name);
        if (!icon.pixmap(16, 16).isNull())
            return icon;
    }
    return QIcon();
}

struct CommandIcon {
    int command;
    const char* themeName; // null where no standard name fits
    const char* file;      // ours, under :/finplan/icons
};

// Minimal desktops and the offscreen platform have no theme, so every command has our own.
constexpr CommandIcon kCommandIcons[] = {
    {1, "document-new", "document-new.svg"},
    {2, "document-open", "document-open.svg"},
    {3, "document-save", "document-save.svg"},
    {4, "document-save-as", "document-save-as.svg"},
    {6, "help-about", "help-about.svg"},
    {8, nullptr, "accounts-write.svg"},
    {9, nullptr, "accounts-read.svg"},
    {11, nullptr, "graphs-save.svg"},
    {12, nullptr, "accounts-export.svg"},
    {13, nullptr, "accounts-import.svg"},
    {104, "help-contents", "help-contents.svg"},
    {177, nullptr, "inflation.svg"},
    {178, nullptr, "compare-scenarios.svg"},
    {179, nullptr, "trade-off.svg"},
    {180, nullptr, "tax-inflation-investment.svg"},
    {401, "document-print", "document-print.svg"},
    {403, nullptr, "graph-print.svg"},
    {467, nullptr, "credit-card.svg"},
    {501, nullptr, "graph-window.svg"},
    {881, nullptr, "mortgage.svg"},
    {882, nullptr, "mortgage-refinance.svg"},
    {883, nullptr, "mortgage-accelerated.svg"},
    {884, "accessories-calculator", "accessories-calculator.svg"},
    {886, nullptr, "effective-rate.svg"},
    {904, nullptr, "rule-72t.svg"},
};

} // namespace

QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
    QIcon icon = drawableThemeIcon(QString::fromLatin1(name));
    return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

QIcon commandIcon(int command) {
    static const bool resourcesReady = (initIconResources(), true);
    (void)resourcesReady;
    for (const CommandIcon& entry : kCommandIcons) {
        if (entry.command != command)
            continue;
        if (entry.themeName) {
            QIcon icon = drawableThemeIcon(QString::fromLatin1(entry.themeName));
            if (!icon.isNull())
                return icon;
        }
        return QIcon(QStringLiteral(":/finplan/icons/") + QString::fromLatin1(entry.file));
    }
    return QIcon();
}

} // namespace finplan
