#include "ui/printing/PrintButtons.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include "ui/platform/Icons.h"

namespace finplan {

void addPrintButtons(QDialogButtonBox* buttons, const std::function<void(PrintOutput)>& request) {
    const struct {
        const char* name;
        const char* text;
        const char* icon;
        PrintOutput output;
    } kButtons[] = {{"print", "Print", "document-print", PrintOutput::Printer},
                    {"printPreview", "Preview", "document-print-preview", PrintOutput::Preview},
                    {"exportPdf", "Export PDF", "document-export", PrintOutput::Pdf}};
    for (const auto& b : kButtons) {
        QPushButton* button =
            buttons->addButton(QString::fromLatin1(b.text), QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(b.name));
        button->setIcon(themeIcon(b.icon, QStyle::SP_FileIcon));
        button->setAutoDefault(false);
        const PrintOutput output = b.output;
        QObject::connect(button, &QPushButton::clicked, buttons,
                         [request, output] { request(output); });
    }
}

} // namespace finplan
