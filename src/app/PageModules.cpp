#include "app/FormBuild.h"
#include "app/TForm1.h"
#include "modules/EntryTree.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace build;

namespace {

QStringList positions() {
    return {"1", "2", "3", "4", "5", "6", "7"};
}

// The editing panel of one memory or button: name, position, number, preview label, and the list of
// the selected memory's or button's numbers.
struct EntryPanel {
    QFrame* panel;
    QLabel* position;
    QLabel* memo;
    QLabel* preview;
    QLabel* phone;
    EntryTree* selection;
    QComboBox* pos;
    QLineEdit* name;
    QLineEdit* number;
    QPushButton* add;
    QPushButton* write;
    QPushButton* del;
};

EntryPanel entryPanel(QWidget* parent, const QString& panelName, const QStringList& labelNames,
                      const QString& side, const QString& treeName, const QStringList& buttonTexts) {
    EntryPanel p{};
    p.panel = named(new QFrame(parent), panelName);
    p.panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(p.panel);
    grid->setContentsMargins(6, 4, 6, 4);
    p.position = label(p.panel, labelNames[0], QStringLiteral("position"));
    p.memo = label(p.panel, labelNames[1], QStringLiteral("Memo"));
    p.preview = label(p.panel, QStringLiteral("Label") + side, side.left(1));
    p.phone = label(p.panel, labelNames[2], QStringLiteral("Phone Number"));
    p.selection = new EntryTree(treeName, p.panel);
    p.pos = combo(p.panel, QStringLiteral("Pos") + side, positions(), QStringLiteral("1"));
    p.name = edit(p.panel, side);
    p.number = edit(p.panel, side + QStringLiteral("PNumber"));
    p.add = button(p.panel, QStringLiteral("Add") + side, buttonTexts[0]);
    p.write = button(p.panel, QStringLiteral("Write") + side, buttonTexts[1]);
    p.del = button(p.panel, QStringLiteral("Del") + side + QStringLiteral("Sel"), buttonTexts[2]);
    grid->addWidget(p.memo, 0, 0);
    grid->addWidget(p.name, 0, 1);
    grid->addWidget(p.position, 1, 0);
    grid->addWidget(p.pos, 1, 1);
    grid->addWidget(p.preview, 2, 1);
    grid->addWidget(p.phone, 3, 0);
    grid->addWidget(p.number, 3, 1);
    grid->addWidget(p.selection, 0, 2, 5, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {p.add, p.write, p.del})
        buttons->addWidget(b);
    grid->addLayout(buttons, 5, 0, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
    return p;
}

} // namespace

void TForm1::buildModuleButtonsPage() {
    auto* layout = new QHBoxLayout(ModuleButtons);
    auto* left = new QVBoxLayout;
    TreeButtons = new EntryTree(QStringLiteral("TreeButtons"), ModuleButtons);
    TreeButtons->setToolTip(QStringLiteral("Seznam vsech tlacitek"));
    left->addWidget(TreeButtons);
    DelButton = button(ModuleButtons, QStringLiteral("DelButton"), QStringLiteral("DelButton"));
    left->addWidget(DelButton);
    DetBut = check(ModuleButtons, QStringLiteral("DetBut"), QStringLiteral("Buttons Detect"));
    left->addWidget(DetBut);
    layout->addLayout(left, 2);

    const EntryPanel p = entryPanel(
        ModuleButtons, QStringLiteral("Panel5"), {"Label61", "Label62", "Label64"}, QStringLiteral("Button"),
        QStringLiteral("TreeButtonsSel"), {"Add Button", "Write Button", "Del Button"});
    Panel5 = p.panel;
    Label61 = p.position;
    Label62 = p.memo;
    LabelButton = p.preview;
    Label64 = p.phone;
    TreeButtonsSel = p.selection;
    TreeButtonsSel->setToolTip(QStringLiteral("Vechna cisla prirazena k vybranemu tlacitku"));
    PosButton = p.pos;
    PosButton->setToolTip(QStringLiteral("Poradi vytaceneho cisla po zmacknuti tlacitka"));
    // A typed position is the user's pick as much as one from the list: the label follows it.
    bind(PosButton->lineEdit(), &QLineEdit::textEdited, &TForm1::PosButtonChange);
    Button = p.name;
    Button->setToolTip(QStringLiteral("jmeno pameti"));
    ButtonPNumber = p.number;
    AddButton = p.add;
    WriteButton = p.write;
    DelButtonSel = p.del;
    layout->addWidget(Panel5, 3);
}

void TForm1::buildModuleKeyboardPage() {
    auto* layout = new QHBoxLayout(ModuleKeyboard);
    PageControl3 = named(new QTabWidget(ModuleKeyboard), QStringLiteral("PageControl3"));
    layout->addWidget(PageControl3, 1);
    KeyBoardMemo = page(PageControl3, QStringLiteral("KeyBoardMemo"), QStringLiteral("KeyBoardMemo"));
    KeyBoardCode = page(PageControl3, QStringLiteral("KeyBoardCode"), QStringLiteral("KeyBoardCode"));

    KeyBoardParams =
        group(ModuleKeyboard, QStringLiteral("KeyBoardParams"), QStringLiteral("Keyboard parameters"));
    auto* params = new QVBoxLayout(KeyBoardParams);
    Label63 = label(KeyBoardParams, QStringLiteral("Label63"), QStringLiteral("Waiting to number"));
    WaitBUF = combo(KeyBoardParams, QStringLiteral("WaitBUF"), {"1", "2", "3", "4", "5", "6", "7", "8", "9"},
                    QStringLiteral("2"));
    DirectCall = check(KeyBoardParams, QStringLiteral("DirectCall"), QStringLiteral("Direct Call number"));
    params->addWidget(Label63);
    params->addWidget(WaitBUF);
    params->addWidget(DirectCall);
    params->addStretch();
    KeyBoardParams->setFixedWidth(160);
    params->setContentsMargins(6, 4, 2, 4);
    WaitBUF->setMaximumWidth(60);
    layout->addWidget(KeyBoardParams);

    auto* memo = new QHBoxLayout(KeyBoardMemo);
    auto* left = new QVBoxLayout;
    TreeMemo = new EntryTree(QStringLiteral("TreeMemo"), KeyBoardMemo);
    left->addWidget(TreeMemo);
    DelMemo = button(KeyBoardMemo, QStringLiteral("DelMemo"), QStringLiteral("DelMemo"));
    left->addWidget(DelMemo);
    memo->addLayout(left, 2);
    const EntryPanel p = entryPanel(KeyBoardMemo, QStringLiteral("Panel4"), {"Label60", "Label56", "Label58"},
                                    QStringLiteral("Memo"), QStringLiteral("TreeMemoSel"),
                                    {"Add Memo", "WriteMemo", "DelMemo"});
    Panel4 = p.panel;
    Label60 = p.position;
    Label56 = p.memo;
    LabelMemo = p.preview;
    Label58 = p.phone;
    TreeMemoSel = p.selection;
    PosMemo = p.pos;
    bind(PosMemo->lineEdit(), &QLineEdit::textEdited, &TForm1::PosMemoChange);
    Memo = p.name;
    MemoPNumber = p.number;
    AddMemo = p.add;
    WriteMemo = p.write;
    DelMemoSel = p.del;
    memo->addWidget(Panel4, 3);

    buildCodePages();
}
