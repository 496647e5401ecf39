#include "app/ScreenPlace.h"

#include <QtTest>

// A window stored where no screen is any more comes back onto the nearest one.
class TestScreenPlace : public QObject {
    Q_OBJECT
private slots:
    void place_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QPoint>("placed");
        const QList<QRect> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
        const QSize size(613, 503);
        QTest::newRow("on the first screen") << QRect({200, 200}, size) << two << QPoint(200, 200);
        QTest::newRow("on the second screen") << QRect({2000, 100}, size) << two << QPoint(2000, 100);
        QTest::newRow("monitor gone on the right") << QRect({4000, 300}, size) << two << QPoint(2587, 300);
        QTest::newRow("stored at scale factor 2")
            << QRect({1500, 900}, size) << QList<QRect>{{0, 0, 960, 540}} << QPoint(347, 37);
        QTest::newRow("partly off, title bar out of reach")
            << QRect({-550, 100}, size) << two << QPoint(0, 100);
        QTest::newRow("partly off, title bar above the screen")
            << QRect({100, -40}, size) << two << QPoint(100, 0);
        QTest::newRow("partly off, title bar still on screen")
            << QRect({1500, 900}, size) << QList<QRect>{{0, 0, 1920, 1080}} << QPoint(1500, 900);
        QTest::newRow("across both screens") << QRect({1700, 100}, size) << two << QPoint(1700, 100);
        QTest::newRow("no screen known")
            << QRect({-5000, -5000}, size) << QList<QRect>() << QPoint(-5000, -5000);
    }
    void place() {
        QFETCH(QRect, window);
        QFETCH(QList<QRect>, screens);
        QTEST(placeOnScreens(window, screens), "placed");
    }
};

QTEST_GUILESS_MAIN(TestScreenPlace)
#include "tst_screenplace.moc"
