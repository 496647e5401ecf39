#include "app/FormBuild.h"
#include "app/TForm1.h"
#include "modules/EntryTree.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace build;

namespace {

QStringList accessItems() {
    return QStringList{"**"} + twoDigits(1, 99);
}
QStringList monthItems() {
    return QStringList{"**"} + twoDigits(1, 12);
}
QStringList dayItems() {
    return QStringList{"**"} + twoDigits(1, 31);
}
QStringList hourItems() {
    return twoDigits(0, 23) << QStringLiteral("**");
}

// A group holding its "month"/"day" (or "hours") combo boxes in one row, each after its label.
QGroupBox* dateGroup(QWidget* parent, const QString& name, const QString& title,
                     std::initializer_list<std::pair<QLabel*, QComboBox*>> fields) {
    QGroupBox* box = group(parent, name, title);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(4, 2, 4, 2);
    for (const auto& [caption, field] : fields) {
        caption->setParent(box);
        field->setParent(box);
        field->setMaximumWidth(64);
        row->addWidget(caption);
        row->addWidget(field);
    }
    row->addStretch();
    return box;
}

} // namespace

void TForm1::buildCodePages() {
    auto* layout = new QHBoxLayout(KeyBoardCode);
    auto* left = new QVBoxLayout;
    TreeCode = new EntryTree(QStringLiteral("TreeCode"), KeyBoardCode);
    left->addWidget(TreeCode);
    auto* buttons = new QVBoxLayout;
    DelCode = button(KeyBoardCode, QStringLiteral("DelCode"), QStringLiteral("DelCode"));
    AddCode = button(KeyBoardCode, QStringLiteral("AddCode"), QStringLiteral("Add Code"));
    buttons->addWidget(DelCode);
    buttons->addWidget(AddCode);
    left->addLayout(buttons);
    TreeCode->setFixedWidth(110);
    layout->addLayout(left);
    ModeCode = named(new QTabWidget(KeyBoardCode), QStringLiteral("ModeCode"));
    layout->addWidget(ModeCode, 1);

    const char* modeNames[] = {"normal", "weekly", "date by date", "by day and month", "time by time"};
    const char* modeLabels[] = {"Label37", "Label38", "Label39", "Label40", "Label41"};
    const char* codeLabels[] = {"Label44", "Label42", "Label45", "Label47", "Label49"};
    std::array<QGridLayout*, 5> grids{};
    for (int mode = 0; mode < 5; ++mode) {
        const QString n = QString::number(mode);
        M[mode] = page(ModeCode, QStringLiteral("M") + n, QStringLiteral("M") + n);
        QWidget* m = M[mode];
        auto* grid = new QGridLayout(m);
        grid->setContentsMargins(4, 4, 4, 4);
        grid->setVerticalSpacing(3);
        grids[mode] = grid;
        ModeLabel[mode] =
            label(m, QString::fromLatin1(modeLabels[mode]), QString::fromLatin1(modeNames[mode]));
        QFont bold = ModeLabel[mode]->font();
        bold.setBold(true);
        ModeLabel[mode]->setFont(bold);
        CodeLabel[mode] = label(m, QString::fromLatin1(codeLabels[mode]), QStringLiteral("Code"));
        CodeM[mode] = edit(m, QStringLiteral("CodeM") + n);
        LabelCodeM[mode] = label(m, QStringLiteral("LabelCodeM") + n, QStringLiteral("C"));
        MRel1[mode] = radio(m, QStringLiteral("M%1Rel1").arg(mode), QStringLiteral("rele1"));
        MRel2[mode] = radio(m, QStringLiteral("M%1Rel2").arg(mode), QStringLiteral("rele2"));
        MRelGroup[mode] = new QButtonGroup(m);
        MRelGroup[mode]->addButton(MRel1[mode]);
        MRelGroup[mode]->addButton(MRel2[mode]);
        WriteCode[mode] = button(m, QStringLiteral("WriteCode") + n, QStringLiteral("Write Code"));
        grid->addWidget(ModeLabel[mode], 0, 0, 1, 3);
        grid->addWidget(CodeLabel[mode], 1, 0);
        grid->addWidget(CodeM[mode], 1, 1);
        grid->addWidget(LabelCodeM[mode], 1, 2);
        grid->addWidget(MRel1[mode], 2, 1);
        grid->addWidget(MRel2[mode], 2, 2);
        grid->setColumnStretch(1, 1);
    }
    ModeCode->setCurrentIndex(4);

    // M1 weekly: seven day boxes under the day names, access number, SMS.
    QWidget* m1 = M[1];
    week = label(m1, QStringLiteral("week"), QStringLiteral("Po    Ut    St     Ct    Pa   So     Ne"));
    auto* days = new QHBoxLayout;
    days->setSpacing(0);
    Po = check(m1, QStringLiteral("Po"), {});
    Ut = check(m1, QStringLiteral("Ut"), {});
    St = check(m1, QStringLiteral("St"), {});
    Ct = check(m1, QStringLiteral("Ct"), {});
    Pa = check(m1, QStringLiteral("Pa"), {});
    So = check(m1, QStringLiteral("So"), {});
    Ne = check(m1, QStringLiteral("Ne"), {});
    // Under the day names of the label above them.
    for (QCheckBox* day : {Po, Ut, St, Ct, Pa, So, Ne}) {
        day->setFixedWidth(24);
        days->addWidget(day);
    }
    days->addStretch();
    Label43 = label(m1, QStringLiteral("Label43"), QStringLiteral("access number"));
    M1Acces = combo(m1, QStringLiteral("M1Acces"), accessItems(), QStringLiteral("**"));
    M1SMS = check(m1, QStringLiteral("M1SMS"), QStringLiteral("Send SMS to ADMIN1"));
    grids[1]->addWidget(week, 3, 0, 1, 3);
    grids[1]->addLayout(days, 4, 0, 1, 3);
    grids[1]->addWidget(Label43, 5, 0);
    grids[1]->addWidget(M1Acces, 5, 1);

    // M2 date by date.
    QWidget* m2 = M[2];
    Label46 = label(m2, QStringLiteral("Label46"), QStringLiteral("month"));
    Label48 = label(m2, QStringLiteral("Label48"), QStringLiteral("day"));
    Label50 = label(m2, QStringLiteral("Label50"), QStringLiteral("month"));
    Label51 = label(m2, QStringLiteral("Label51"), QStringLiteral("day"));
    FromM2 = combo(m2, QStringLiteral("FromM2"), monthItems(), QStringLiteral("01"));
    FromD2 = combo(m2, QStringLiteral("FromD2"), dayItems(), QStringLiteral("01"));
    ToM2 = combo(m2, QStringLiteral("ToM2"), monthItems(), QStringLiteral("01"));
    ToD2 = combo(m2, QStringLiteral("ToD2"), dayItems(), QStringLiteral("01"));
    GroupBox8 = dateGroup(m2, QStringLiteral("GroupBox8"), QStringLiteral("from date"),
                          {{Label46, FromM2}, {Label48, FromD2}});
    GroupBox9 = dateGroup(m2, QStringLiteral("GroupBox9"), QStringLiteral("to date"),
                          {{Label50, ToM2}, {Label51, ToD2}});
    M2SMS = check(m2, QStringLiteral("M2SMS"), QStringLiteral("Send SMS to ADMIN1"));
    grids[2]->addWidget(GroupBox8, 3, 0, 1, 3);
    grids[2]->addWidget(GroupBox9, 4, 0, 1, 3);

    // M3 by day and month.
    QWidget* m3 = M[3];
    Label52 = label(m3, QStringLiteral("Label52"), QStringLiteral("month"));
    Label53 = label(m3, QStringLiteral("Label53"), QStringLiteral("day"));
    FromM3 = combo(m3, QStringLiteral("FromM3"), monthItems(), QStringLiteral("01"));
    FromD3 = combo(m3, QStringLiteral("FromD3"), dayItems(), QStringLiteral("01"));
    GroupBox10 = dateGroup(m3, QStringLiteral("GroupBox10"), QStringLiteral("from date"),
                           {{Label52, FromM3}, {Label53, FromD3}});
    Label54 = label(m3, QStringLiteral("Label54"), QStringLiteral("access number"));
    M3Acces = combo(m3, QStringLiteral("M3Acces"), accessItems(), QStringLiteral("**"));
    M3SMS = check(m3, QStringLiteral("M3SMS"), QStringLiteral("Send SMS to ADMIN1"));
    grids[3]->addWidget(GroupBox10, 3, 0, 1, 3);
    grids[3]->addWidget(Label54, 4, 0);
    grids[3]->addWidget(M3Acces, 4, 1);

    // M4 time by time.
    QWidget* m4 = M[4];
    Label55 = label(m4, QStringLiteral("Label55"), QStringLiteral("hours"));
    Label57 = label(m4, QStringLiteral("Label57"), QStringLiteral("hours"));
    FromHours = combo(m4, QStringLiteral("FromHours"), hourItems(), QStringLiteral("01"));
    ToHours = combo(m4, QStringLiteral("ToHours"), hourItems(), QStringLiteral("01"));
    GroupBox11 =
        dateGroup(m4, QStringLiteral("GroupBox11"), QStringLiteral("from hours"), {{Label55, FromHours}});
    GroupBox12 =
        dateGroup(m4, QStringLiteral("GroupBox12"), QStringLiteral("to hours"), {{Label57, ToHours}});
    Label59 = label(m4, QStringLiteral("Label59"), QStringLiteral("access number"));
    M4Acces = combo(m4, QStringLiteral("M4Acces"), accessItems(), QStringLiteral("**"));
    M4SMS = check(m4, QStringLiteral("M4SMS"), QStringLiteral("Send SMS to ADMIN1"));
    auto* hours = new QHBoxLayout;
    hours->addWidget(GroupBox11);
    hours->addWidget(GroupBox12);
    grids[4]->addLayout(hours, 3, 0, 1, 3);
    grids[4]->addWidget(Label59, 4, 0);
    grids[4]->addWidget(M4Acces, 4, 1);

    // "Write Code" at the bottom right, beside the SMS box where the page has one.
    const std::array<QCheckBox*, 5> sms{nullptr, M1SMS, M2SMS, M3SMS, M4SMS};
    for (int mode = 0; mode < 5; ++mode) {
        grids[mode]->setRowStretch(7, 1);
        if (sms[mode]) grids[mode]->addWidget(sms[mode], 8, 0, 1, 2);
        grids[mode]->addWidget(WriteCode[mode], 8, 2, Qt::AlignRight);
    }
}
