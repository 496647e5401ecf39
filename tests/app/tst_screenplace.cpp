#include "app/ScreenPlace.h"

#include <QtTest>

// A window stored where no screen is any more comes back onto the nearest one, and one larger than its
// screen (a high scale factor on a small screen) shrinks into it: it is never cut.
class TestScreenPlace : public QObject {
    Q_OBJECT
private slots:
    void place_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("placed");
        const QList<QRect> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
        const QSize size(613, 503);
        const QMargins none;
        QTest::newRow("on the first screen")
            << QRect({200, 200}, size) << two << none << QRect({200, 200}, size);
        QTest::newRow("on the second screen")
            << QRect({2000, 100}, size) << two << none << QRect({2000, 100}, size);
        QTest::newRow("monitor gone on the right")
            << QRect({4000, 300}, size) << two << none << QRect({2587, 300}, size);
        QTest::newRow("stored at scale factor 2")
            << QRect({1500, 900}, size) << QList<QRect>{{0, 0, 960, 540}} << none << QRect({347, 37}, size);
        QTest::newRow("partly off on the left")
            << QRect({-550, 100}, size) << two << none << QRect({0, 100}, size);
        QTest::newRow("title bar above the screen, frame counted")
            << QRect({100, -40}, size) << two << QMargins(4, 30, 4, 4) << QRect({100, 30}, size);
        QTest::newRow("partly off at the bottom right")
            << QRect({1500, 900}, size) << QList<QRect>{{0, 0, 1920, 1080}} << none
            << QRect({1307, 577}, size);
        QTest::newRow("across both screens, mostly on the second")
            << QRect({1700, 100}, size) << two << none << QRect({1920, 100}, size);
        QTest::newRow("150 % on 1024x768: shrunk to the screen less its frame")
            << QRect({200, 200}, QSize(920, 785)) << QList<QRect>{{0, 0, 1024, 740}} << QMargins(4, 30, 4, 4)
            << QRect({100, 30}, QSize(920, 706));
        QTest::newRow("no screen known")
            << QRect({-5000, -5000}, size) << QList<QRect>() << none << QRect({-5000, -5000}, size);
    }
    void place() {
        QFETCH(QRect, window);
        QFETCH(QList<QRect>, screens);
        QFETCH(QMargins, frame);
        QTEST(fitOnScreens(window, screens, frame), "placed");
    }
};

QTEST_GUILESS_MAIN(TestScreenPlace)
#include "tst_screenplace.moc"
