#include "ui/platform/Icons.h"

#include <QApplication>
#include <QImage>
#include <QtTest>

using namespace finplan;

class IconsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        // No theme at all, as on a minimal desktop: every icon has to come from our own files.
        QIcon::setThemeSearchPaths({});
        QIcon::setFallbackSearchPaths({});
    }

    void toolbarCommandHasIcon_data() {
        QTest::addColumn<int>("command");
        for (int command : {1,   2,   3,   4,   13,  12,  8,   9,   401, 11,  403, 501, 881,
                            882, 883, 177, 180, 179, 178, 886, 467, 904, 884, 6,   104})
            QTest::addRow("%d", command) << command;
    }

    void toolbarCommandHasIcon() {
        QFETCH(int, command);
        const QIcon icon = commandIcon(command);
        QVERIFY(!icon.isNull());
        const QImage image = icon.pixmap(16, 16).toImage();
        QVERIFY2(!image.isNull(), "no pixmap: is the SVG icon engine plugin (libqt6svg6) there?");
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = qAlpha(image.pixel(x, y)) > 0;
        QVERIFY2(drawn, "the icon draws nothing at 16 px");
    }

    void unknownCommandHasNoIcon() { QVERIFY(commandIcon(5).isNull()); }
};

QTEST_MAIN(IconsTest)
#include "IconsTest.moc"
