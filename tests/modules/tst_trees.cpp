#include "FormFixture.h"
#include "ViewTexts.h"

#include "modules/EntryTree.h"

#include <QSignalSpy>
#include <QtTest>

// Module entries in the five trees: where a read-back puts them, their order, selecting a button or a
// memory and one of its numbers, and deleting an entry.
class TreesTest : public QObject {
    Q_OBJECT
private slots:
    void placement_data();
    void placement();
    void ordering_data();
    void ordering();
    void aSelectedNodeStaysInPlace();
    void detectEntry_data();
    void detectEntry();
    void everyReadBackStartsFromEmptyTrees();
    void selectingAButtonOrMemoListsItsNumbers_data();
    void selectingAButtonOrMemoListsItsNumbers();
    void selectingANumberFillsTheEditor_data();
    void selectingANumberFillsTheEditor();
    void aPositionThatIsNoDigitIsReported();
    void clicksWithoutSelectionDoNothing();
    void deleteClearsTheSelectedLocation_data();
    void deleteClearsTheSelectedLocation();
    void deleteStartsAReRead();
};

namespace {

QByteArray entryLine(int index, const QByteArray& number, const QByteArray& name) {
    return "+CPBR: " + QByteArray::number(index) + ",\"" + number + "\",129,\"" + name + "\"";
}

// A window after start-up, ready for a fresh read-back, with its start-up traffic forgotten.
struct Fixture : FormFixture {
    Fixture() {
        port.clearSent();
        form->ResetEntryView();
    }
    EntryTree* tree(const QString& name) const { return form->findChild<EntryTree*>(name); }
};

const QStringList treeNames{"TreeButtons", "TreeButtonsSel", "TreeMemo", "TreeMemoSel", "TreeCode"};

} // namespace

void TreesTest::placement_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("buttonFilter");
    QTest::addColumn<QByteArray>("memoFilter");
    QTest::addColumn<QStringList>("trees");

    const QByteArray none;
    QTest::newRow("memory number") << QByteArray("M1-2") << none << none << QStringList{"TreeMemo"};
    QTest::newRow("memory without hyphen") << QByteArray("M12") << none << none << QStringList{};
    QTest::newRow("memory with two digits after the hyphen")
        << QByteArray("M1-23") << none << none << QStringList{};
    QTest::newRow("M alone") << QByteArray("M") << none << none << QStringList{"TreeMemo"};
    QTest::newRow("button number") << QByteArray("B3-1") << none << none << QStringList{"TreeButtons"};
    QTest::newRow("B alone") << QByteArray("B") << none << none << QStringList{"TreeButtons"};
    QTest::newRow("a plain name that fits the form")
        << QByteArray("Bob-x") << none << none << QStringList{"TreeButtons"};
    QTest::newRow("access code") << QByteArray("C1234C") << none << none << QStringList{"TreeCode"};
    QTest::newRow("empty code") << QByteArray("CC") << none << none << QStringList{"TreeCode"};
    QTest::newRow("C alone") << QByteArray("C") << none << none << QStringList{"TreeCode"};
    QTest::newRow("code with a digit after its C") << QByteArray("C1C1") << none << none << QStringList{};
    QTest::newRow("C12 is no code") << QByteArray("C12") << none << none << QStringList{};
    QTest::newRow("B5-10 only in the selection of B5-")
        << QByteArray("B5-10") << QByteArray("B5-") << none << QStringList{"TreeButtonsSel"};
    QTest::newRow("B1-3 in the selection of B1-")
        << QByteArray("B1-3") << QByteArray("B1-") << none << QStringList{"TreeButtons", "TreeButtonsSel"};
    QTest::newRow("B11-1 not in the selection of B1-")
        << QByteArray("B11-1") << QByteArray("B1-") << none << QStringList{"TreeButtons"};
    QTest::newRow("M3-1 in the selection of M3-")
        << QByteArray("M3-1") << none << QByteArray("M3-") << QStringList{"TreeMemo", "TreeMemoSel"};
    QTest::newRow("M31-1 not in the selection of M3-")
        << QByteArray("M31-1") << none << QByteArray("M3-") << QStringList{"TreeMemo"};
    QTest::newRow("settings entries stay out") << QByteArray("BBUTTON1") << none << none << QStringList{};
    QTest::newRow("DETECT stays out") << QByteArray("DETECT") << none << none << QStringList{};
}

void TreesTest::placement() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, buttonFilter);
    QFETCH(QByteArray, memoFilter);
    QFETCH(QStringList, trees);

    Fixture f;
    f.form->state.buttonFilter = buttonFilter;
    f.form->state.memoFilter = memoFilter;
    f.asked("AT+CPBR=1,250");
    f.say({entryLine(31, "+420777", name)});
    for (const QString& treeName : treeNames) {
        const QByteArrayList expected =
            trees.contains(treeName) ? QByteArrayList{"31:" + name + "[+420777]"} : QByteArrayList{};
        QCOMPARE(nodes(f.tree(treeName)), expected);
    }
}

void TreesTest::ordering_data() {
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<QList<int>>("order");

    QTest::newRow("names compare byte by byte, not as numbers")
        << QByteArrayList{"B3-2", "B3-1", "B12-1"} << QList<int>{3, 2, 1};
    QTest::newRow("the hyphen sorts before the digits")
        << QByteArrayList{"B12-1", "B1-7", "B1-1", "B2-1"} << QList<int>{3, 2, 1, 4};
    QTest::newRow("equal names keep their order of arrival")
        << QByteArrayList{"B2-1", "B1-1", "B2-1", "B1-1"} << QList<int>{2, 4, 1, 3};
    QTest::newRow("a prefix comes first") << QByteArrayList{"B1-1", "B"} << QList<int>{2, 1};
    QTest::newRow("bytes above 127 come after the letters")
        << QByteArrayList{"B\xe9-1", "Bz-1", "BZ-1"} << QList<int>{3, 2, 1};
    QTest::newRow("already in order") << QByteArrayList{"B1-1", "B1-2", "B2-1"} << QList<int>{1, 2, 3};
}

void TreesTest::ordering() {
    QFETCH(QByteArrayList, names);
    QFETCH(QList<int>, order);

    Fixture f;
    QByteArrayList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << entryLine(i + 1, "5", names[i]);
    f.asked("AT+CPBR=1,250");
    f.say(lines);
    QByteArrayList expected;
    for (const int index : order)
        expected << QByteArray::number(index) + ':' + names[index - 1] + "[5]";
    QCOMPARE(nodes(f.form->TreeButtons), expected);
}

void TreesTest::aSelectedNodeStaysInPlace() {
    // Sorting moves texts between the nodes, so a new text that sorts in front of the selection moves
    // into the selected node.
    Fixture f;
    EntryTree* tree = f.form->TreeCode;
    tree->addNode("1:C1C[a]");
    tree->addNode("2:C3C[b]");
    tree->selectNode(1);
    tree->addNode("3:C2C[c]");
    QCOMPARE(tree->selectedText(), QByteArray("3:C2C[c]"));
    tree->addNode("4:C4C[d]");
    QCOMPARE(tree->selectedText(), QByteArray("3:C2C[c]"));
    QCOMPARE(nodes(tree), (QByteArrayList{"1:C1C[a]", "3:C2C[c]", "2:C3C[b]", "4:C4C[d]"}));
}

void TreesTest::detectEntry_data() {
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("ticked");

    QTest::newRow("number 1 ticks the box") << QByteArray("1") << true;
    QTest::newRow("number 0 changes nothing") << QByteArray("0") << false;
}

void TreesTest::detectEntry() {
    QFETCH(QByteArray, number);
    QFETCH(bool, ticked);

    Fixture f;
    TForm1& form = *f.form;
    form.state.detectLine = "earlier";
    form.Monitor->clear();
    QSignalSpy clicks(form.DetBut, &QCheckBox::clicked);
    f.asked("AT+CPBR=1,250");
    f.say({entryLine(40, number, "DETECT")});
    QCOMPARE(form.DetBut->isChecked(), ticked);
    QCOMPARE(form.state.detectLine, ticked ? QByteArray("40:DETECT[1]") : QByteArray("earlier"));
    QCOMPARE(form.Monitor->toPlainText().endsWith(QStringLiteral("\n40:DETECT[1]")), ticked);
    // The box only shows the state: its click action is not run.
    QCOMPARE(clicks.count(), 0);
}

void TreesTest::everyReadBackStartsFromEmptyTrees() {
    Fixture f;
    TForm1& form = *f.form;
    form.dialogue.firstEntryPending = false;
    for (const QString& treeName : treeNames)
        f.tree(treeName)->addNode("99:old[1]");
    // A read-back started by Stop: the trees are emptied at its first entry that no setting claims, and
    // that entry, here a module entry, keeps its node.
    form.dialogue.firstEntryPending = true;
    form.state.buttonFilter = "B2-";
    f.asked("AT+CPBR=1,250");
    f.say({entryLine(1, "1", "ADMIN1"), entryLine(2, "2.0", "VER")});
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{"99:old[1]"});
    f.say({entryLine(3, "555", "B2-1"), entryLine(4, "666", "M1-1")});
    QCOMPARE(nodes(form.TreeButtons), QByteArrayList{"3:B2-1[555]"});
    QCOMPARE(nodes(form.TreeButtonsSel), QByteArrayList{"3:B2-1[555]"});
    QCOMPARE(nodes(form.TreeMemo), QByteArrayList{"4:M1-1[666]"});
    QCOMPARE(nodes(form.TreeMemoSel), QByteArrayList{});
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{});
}

void TreesTest::selectingAButtonOrMemoListsItsNumbers_data() {
    QTest::addColumn<QString>("big");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<QList<int>>("listed");

    QTest::newRow("button 1, not button 11")
        << "TreeButtons"
        << "TreeButtonsSel" << QByteArrayList{"B1-3", "B11-1", "B1-1", "B2-1"} << 1 << QByteArray("B1-")
        << QList<int>{3, 1};
    QTest::newRow("memory 12") << "TreeMemo"
                               << "TreeMemoSel" << QByteArrayList{"M12-2", "M1-1", "M12-1"} << 2
                               << QByteArray("M12-") << QList<int>{3, 1};
    QTest::newRow("B alone gives no selection")
        << "TreeButtons"
        << "TreeButtonsSel" << QByteArrayList{"B", "B1-1"} << 0 << QByteArray() << QList<int>{};
}

void TreesTest::selectingAButtonOrMemoListsItsNumbers() {
    QFETCH(QString, big);
    QFETCH(QString, selection);
    QFETCH(QByteArrayList, names);
    QFETCH(int, clicked);
    QFETCH(QByteArray, filter);
    QFETCH(QList<int>, listed);

    Fixture f;
    TForm1& form = *f.form;
    QByteArrayList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << entryLine(i + 1, "5", names[i]);
    f.asked("AT+CPBR=1,250");
    f.say(lines);
    f.tree(selection)->addNode("99:stale[1]");
    f.tree(big)->selectNode(clicked);
    form.run([&] { big == QLatin1String("TreeButtons") ? form.TreeButtonsClick() : form.TreeMemoClick(); });

    QCOMPARE(big == QLatin1String("TreeButtons") ? form.state.buttonFilter : form.state.memoFilter, filter);
    QByteArrayList expected;
    for (const int index : listed)
        expected << QByteArray::number(index) + ':' + names[index - 1] + "[5]";
    QCOMPARE(nodes(f.tree(selection)), expected);

    // The filter outlives the read-back: the next one lists the same numbers again.
    form.ResetEntryView();
    f.say(lines);
    QCOMPARE(nodes(f.tree(selection)), expected);
}

void TreesTest::selectingANumberFillsTheEditor_data() {
    QTest::addColumn<bool>("button");
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("number");

    QTest::newRow("button 12, second number")
        << true << QByteArray("31:B12-2[+420777]") << "12" << 1 << "(B12-2)"
        << "+420777";
    QTest::newRow("memory 5, seventh number") << false << QByteArray("8:M5-7[*123#]") << "5" << 6 << "(M5-7)"
                                              << "*123#";
    QTest::newRow("an empty number") << true << QByteArray("9:B3-1[]") << "3" << 0 << "(B3-1)"
                                     << "";
}

void TreesTest::selectingANumberFillsTheEditor() {
    QFETCH(bool, button);
    QFETCH(QByteArray, node);
    QFETCH(QString, name);
    QFETCH(int, position);
    QFETCH(QString, label);
    QFETCH(QString, number);

    Fixture f;
    TForm1& form = *f.form;
    EntryTree* tree = button ? form.TreeButtonsSel : form.TreeMemoSel;
    tree->addNode(node);
    tree->selectNode(0);
    form.run([&] { button ? form.TreeButtonsSelClick() : form.TreeMemoSelClick(); });
    QCOMPARE((button ? form.Button : form.Memo)->text(), name);
    QCOMPARE((button ? form.PosButton : form.PosMemo)->currentIndex(), position);
    QCOMPARE((button ? form.LabelButton : form.LabelMemo)->text(), label);
    QCOMPARE((button ? form.ButtonPNumber : form.MemoPNumber)->text(), number);
    // The node stays selected for a following write or delete.
    QCOMPARE(tree->selectedText(), node);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void TreesTest::aPositionThatIsNoDigitIsReported() {
    Fixture f;
    TForm1& form = *f.form;
    form.PosButton->setCurrentIndex(3);
    form.TreeButtonsSel->addNode("31:B12-x[+420777]");
    form.TreeButtonsSel->selectNode(0);
    form.run([&] { form.TreeButtonsSelClick(); });
    QCOMPARE(f.dialogs.errors.size(), 1);
    // The handler ends at the position: the name is filled, the position and the number are not.
    QCOMPARE(form.Button->text(), QStringLiteral("12"));
    QCOMPARE(form.PosButton->currentIndex(), 3);
    QCOMPARE(form.ButtonPNumber->text(), QString());
}

void TreesTest::clicksWithoutSelectionDoNothing() {
    Fixture f;
    TForm1& form = *f.form;
    form.state.buttonFilter = "B1-";
    form.state.memoFilter = "M1-";
    form.TreeButtons->addNode("1:B2-1[5]");
    form.TreeMemo->addNode("2:M2-1[5]");
    form.TreeButtonsSel->addNode("3:B1-1[5]");
    form.TreeMemoSel->addNode("4:M1-1[5]");
    form.run([&] {
        form.TreeButtonsClick();
        form.TreeMemoClick();
        form.TreeButtonsSelClick();
        form.TreeMemoSelClick();
    });
    QCOMPARE(form.state.buttonFilter, QByteArray("B1-"));
    QCOMPARE(form.state.memoFilter, QByteArray("M1-"));
    QCOMPARE(nodes(form.TreeButtonsSel), QByteArrayList{"3:B1-1[5]"});
    QCOMPARE(nodes(form.TreeMemoSel), QByteArrayList{"4:M1-1[5]"});
    QCOMPARE(form.Button->text(), QString());
    QCOMPARE(form.Memo->text(), QString());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void TreesTest::deleteClearsTheSelectedLocation_data() {
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("portChosen");
    QTest::addColumn<QByteArrayList>("sent");

    QTest::newRow("DelButton") << "TreeButtons"
                               << "DelButton" << true << true << QByteArrayList{"AT+CPBW=31"};
    QTest::newRow("DelButtonSel") << "TreeButtonsSel"
                                  << "DelButtonSel" << true << true << QByteArrayList{"AT+CPBW=31"};
    QTest::newRow("DelMemo") << "TreeMemo"
                             << "DelMemo" << true << true << QByteArrayList{"AT+CPBW=31"};
    QTest::newRow("DelMemoSel") << "TreeMemoSel"
                                << "DelMemoSel" << true << true << QByteArrayList{"AT+CPBW=31"};
    QTest::newRow("DelCode") << "TreeCode"
                             << "DelCode" << true << true << QByteArrayList{"AT+CPBW=31"};
    QTest::newRow("nothing selected sends nothing") << "TreeButtons"
                                                    << "DelButton" << false << true << QByteArrayList{};
    QTest::newRow("no port sends nothing") << "TreeCode"
                                           << "DelCode" << true << false << QByteArrayList{};
}

void TreesTest::deleteClearsTheSelectedLocation() {
    QFETCH(QString, tree);
    QFETCH(QString, button);
    QFETCH(bool, selected);
    QFETCH(bool, portChosen);
    QFETCH(QByteArrayList, sent);

    Fixture f;
    TForm1& form = *f.form;
    f.tree(tree)->addNode(" 31 :X1-1[5]");
    f.tree(tree)->addNode("7:A[5]");
    if (selected) f.tree(tree)->selectNode(1);
    f.port.chosen = portChosen;
    // The user agrees to each delete that can go out.
    if (selected && portChosen) f.dialogs.confirmAnswers << true;
    // Through the button, as the user deletes.
    form.findChild<QPushButton*>(button)->click();
    QCOMPARE(f.port.commands(), sent);
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
    QVERIFY(form.dialogue.rereadPending);
    // The trees are never edited locally.
    QCOMPARE(f.tree(tree)->nodeCount(), 2);
}

void TreesTest::deleteStartsAReRead() {
    Fixture f;
    TForm1& form = *f.form;
    form.unit.setDtr(true);
    form.state.memoFilter = "M1-";
    form.TreeMemo->addNode("10:M1-1[111]");
    form.TreeMemo->addNode("11:M1-2[222]");
    form.TreeMemo->selectNode(0);
    f.dialogs.confirmAnswers << true;
    form.DelMemo->click();
    // The module's "OK" to the delete starts a full read-back, which rebuilds the trees from the SIM.
    f.say({"OK", "#SPN: NET", "OK", "+CPBR: (1-250),40,18", "OK", entryLine(11, "222", "M1-2"), "OK"});
    QCOMPARE(f.port.commands(), (QByteArrayList{"AT+CPBW=10", "AT#SPN", "AT+CPBR=?", "AT+CPBR=1,250"}));
    QVERIFY(!form.dialogue.rereadPending);
    QCOMPARE(nodes(form.TreeMemo), QByteArrayList{"11:M1-2[222]"});
    QCOMPARE(nodes(form.TreeMemoSel), QByteArrayList{"11:M1-2[222]"});
}

QTEST_MAIN(TreesTest)
#include "tst_trees.moc"
