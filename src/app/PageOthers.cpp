#include "app/FormBuild.h"
#include "app/TForm1.h"
#include "files/PhoneBookList.h"
#include "widgets/CheckedTextEdit.h"
#include "widgets/MonitorView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace build;

namespace {

// A multi-line text with the look of the window's lists.
QPlainTextEdit* asMemo(QPlainTextEdit* control, bool readOnly) {
    control->setReadOnly(readOnly);
    control->setLineWrapMode(QPlainTextEdit::NoWrap);
    control->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    control->setBackgroundRole(QPalette::Button);
    QPalette face = control->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    control->setPalette(face);
    return control;
}

} // namespace

void TForm1::buildPhoneBookPage() {
    auto* layout = new QHBoxLayout(PhoneBook);
    PhoneBook1 = new PhoneBookList(PhoneBook);
    layout->addWidget(PhoneBook1, 1);
    auto* side = new QVBoxLayout;
    LineIn = button(PhoneBook, QStringLiteral("LineIn"), QStringLiteral("Insert line"));
    LineDel = button(PhoneBook, QStringLiteral("LineDel"), QStringLiteral("Delete Line"));
    side->addWidget(LineIn);
    side->addWidget(LineDel);
    GroupBox6 = group(PhoneBook, QStringLiteral("GroupBox6"), QStringLiteral("Find Name"));
    auto* find = new QVBoxLayout(GroupBox6);
    FindN = edit(GroupBox6, QStringLiteral("FindN"));
    Find = button(GroupBox6, QStringLiteral("Find"), QStringLiteral("Find"));
    find->addWidget(FindN);
    find->addWidget(Find);
    side->addWidget(GroupBox6);
    side->addStretch();
    layout->addLayout(side);
}

void TForm1::buildMonitorPage() {
    auto* layout = new QVBoxLayout(TabSheet2);
    Monitor = named(new MonitorView(TabSheet2), QStringLiteral("Monitor"));
    asMemo(Monitor->view(), true);
    Monitor->setToolTip(QStringLiteral("Monitoring serial comunication in Vantrel."));
    layout->addWidget(Monitor, 1);
    auto* buttons = new QHBoxLayout;
    SaveMonitor = button(TabSheet2, QStringLiteral("SaveMonitor"), QStringLiteral("Save Log"));
    SaveMonitor->setToolTip(QStringLiteral("Save all data (phone numbers and SMSs) to PC"));
    Inicializace = button(TabSheet2, QStringLiteral("Inicializace"), QStringLiteral("Inicializace"));
    QPalette red = Inicializace->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    Inicializace->setPalette(red);
    IMEI = button(TabSheet2, QStringLiteral("IMEI"), QStringLiteral("IMEI"));
    buttons->addWidget(SaveMonitor);
    buttons->addStretch();
    buttons->addWidget(Inicializace);
    buttons->addWidget(IMEI);
    layout->addLayout(buttons);
}

void TForm1::buildServicePage() {
    auto* layout = new QVBoxLayout(service);
    List = asMemo(named(new CheckedTextEdit(service), QStringLiteral("List")), false);
    List->setToolTip(QStringLiteral("Monitoring serial comunication in Vantrel."));
    layout->addWidget(List, 1);
    auto* buttons = new QHBoxLayout;
    LoadList = button(service, QStringLiteral("LoadList"), QStringLiteral("Load List"));
    LoadList->setToolTip(QStringLiteral("Load firmware from PC to CPU"));
    ClrList = button(service, QStringLiteral("ClrList"), QStringLiteral("Clear List"));
    ClrList->setToolTip(QStringLiteral("Load firmware from PC to CPU"));
    Upgrade = button(service, QStringLiteral("Upgrade"), QStringLiteral("Upgrade"));
    buttons->addWidget(LoadList);
    buttons->addWidget(ClrList);
    buttons->addStretch();
    buttons->addWidget(Upgrade);
    layout->addLayout(buttons);
}
