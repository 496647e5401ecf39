#include "FormFixture.h"
#include "GuardedTestMain.h"

#include "core/Bytes.h"
#include "core/Failure.h"
#include "files/PhoneBookList.h"
#include "widgets/StatusPanels.h"

#include <QCloseEvent>
#include <QPushButton>
#include <stdexcept>

namespace {

// A window whose close handler fails, until told otherwise.
class FailingClose : public QWidget {
public:
    bool fails = true;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (fails) throw Failure(QStringLiteral("close failed"));
        event->accept();
    }
};

// A window whose code page cannot hold what the program itself put into a field.
struct Western {
    Western() {
        setCodePage(CodePage::Windows1252);
        guardedApp().reportTo(&f.dialogs);
    }
    ~Western() {
        guardedApp().reportTo(nullptr);
        setCodePage(CodePage::ofSystem());
    }
    FormFixture f;
};

} // namespace

// A failure that escapes a handler, whatever it is connected to, is reported and the program runs on.
class TestEscapingFailures : public QObject {
    Q_OBJECT

    ScriptedDialogs m_dialogs;

private slots:
    void init() {
        m_dialogs.errors.clear();
        guardedApp().reportTo(&m_dialogs);
    }
    void cleanup() { guardedApp().reportTo(nullptr); }

    void fromASignal() {
        QPushButton button;
        int runs = 0;
        connect(&button, &QPushButton::clicked, &button, [&runs] {
            ++runs;
            throw Failure(QStringLiteral("slot failed"));
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(runs, 2);
        QCOMPARE(m_dialogs.errors, (QStringList{"slot failed", "slot failed"}));
    }

    void fromATimer() {
        QTimer timer;
        int runs = 0;
        connect(&timer, &QTimer::timeout, &timer, [&runs] {
            if (++runs <= 2) throw std::runtime_error("timer failed");
        });
        timer.start(0);
        // The timer goes on firing after its handler failed.
        QTRY_VERIFY(runs > 2);
        QCOMPARE(m_dialogs.errors, (QStringList{"timer failed", "timer failed"}));
    }

    // A close whose handler failed keeps the window: whatever it would have asked or saved is not lost.
    void fromACloseEvent() {
        FailingClose window;
        window.show();
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(m_dialogs.errors, QStringList{"close failed"});
        window.fails = false;
        QVERIFY(window.close());
    }

    // Letters the code page cannot hold, put into fields by the program, meet the handlers that encode
    // them; each is reported and the window goes on.
    void findInThePhoneBook() {
        Western western;
        FormFixture& f = western.f;
        f.form->PhoneBook1->setText("Jan=1\r\n");
        f.form->FindN->setText(QStringLiteral("Jiřka"));
        f.form->Find->click();
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors[0].contains(QStringLiteral("\"ř\"")), qPrintable(f.dialogs.errors[0]));
        f.form->FindN->setText(QStringLiteral("Petr"));
        QTest::keyClick(f.form->FindN, Qt::Key_Return);
        QCOMPARE(f.form->StatusBar1->currentMessage(), QStringLiteral("No name \"Petr\" in the phone book."));
        QCOMPARE(f.dialogs.errors.size(), 1);
    }

    void closingTheWindow() {
        Western western;
        FormFixture& f = western.f;
        f.form->show();
        f.form->PhoneBook1->setText("Novak=603111222\r\n");
        f.form->PhoneBook1->item(0, 0)->setText(QStringLiteral("Řezníček"));
        QVERIFY(!f.form->close());
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors[0].contains(QStringLiteral("\"Ř\"")), qPrintable(f.dialogs.errors[0]));
        QCOMPARE(f.form->PhoneBook1->item(0, 0)->text(), QStringLiteral("Řezníček"));
    }

    // The upload ends as failed, so the unit can be programmed afterwards.
    void upgradeOfAListLine() {
        Western western;
        FormFixture& f = western.f;
        f.forgetStartup();
        f.form->List->setPlainText(QStringLiteral("Tří.pyo"));
        f.form->Upgrade->click();
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors[0].contains(QStringLiteral("\"ř\"")), qPrintable(f.dialogs.errors[0]));
        QVERIFY(f.form->dialogue.is(Dialogue::Phase::Idle));
        QVERIFY(!f.form->dialogue.uploadActive);
        QCOMPARE(f.port.sent, QByteArrayList());
    }
};

GUARDED_TEST_MAIN(TestEscapingFailures)
#include "tst_escapingfailures.moc"
