#include "FormFixture.h"

#include <QtTest>

// The volume track bars: position 1, the loudest, is at the top, and the keys move towards it as the
// arrows point.
class VolumeTest : public QObject {
    Q_OBJECT
private slots:
    void keysMoveAsTheyPoint_data();
    void keysMoveAsTheyPoint();
};

void VolumeTest::keysMoveAsTheyPoint_data() {
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");

    for (const char* slider : {"VolSpk", "VolMic"}) {
        QTest::addRow("%s: Up is louder", slider) << slider << 4 << Qt::Key_Up << 3;
        QTest::addRow("%s: Down is quieter", slider) << slider << 4 << Qt::Key_Down << 5;
        QTest::addRow("%s: Page Up is louder", slider) << slider << 4 << Qt::Key_PageUp << 3;
        QTest::addRow("%s: Page Down is quieter", slider) << slider << 4 << Qt::Key_PageDown << 5;
        QTest::addRow("%s: Up stops at the loudest", slider) << slider << 1 << Qt::Key_Up << 1;
        QTest::addRow("%s: Down stops at the quietest", slider) << slider << 7 << Qt::Key_Down << 7;
    }
}

void VolumeTest::keysMoveAsTheyPoint() {
    QFETCH(QString, slider);
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);

    FormFixture f;
    auto* volume = f.form->findChild<QSlider*>(slider);
    QVERIFY(volume);
    volume->setValue(from);
    QTest::keyClick(volume, key);
    QCOMPARE(volume->value(), to);
    // The parameter string carries the loudness the other way round: 8 - position.
    f.form->ControlsToParams();
    const int field = slider == QLatin1String("VolMic") ? 0 : 2;
    QCOMPARE(f.form->state.parOru.mid(field, 1), QByteArray::number(8 - to));
}

QTEST_MAIN(VolumeTest)
#include "tst_volume.moc"
