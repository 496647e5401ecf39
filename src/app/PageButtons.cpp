#include "app/FormBuild.h"
#include "app/TForm1.h"
#include "widgets/Picture.h"

#include <QGridLayout>
#include <QHBoxLayout>

using namespace build;

namespace {

// A white panel of seven labelled number edits named prefix1 … prefix7.
QFrame* numberPanel(QWidget* parent, const QString& name, const QString& prefix,
                    std::array<QLineEdit*, 7>& edits) {
    auto* panel = named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < 7; ++i) {
        const QString entry = prefix + QString::number(i + 1);
        grid->addWidget(label(panel, QStringLiteral("Label") + entry, entry), i, 0);
        edits[i] = edit(panel, entry);
        edits[i]->setMinimumWidth(100);
        grid->addWidget(edits[i], i, 1);
    }
    return panel;
}

// The page's background picture with the device pictures and arrows of every edition laid over it;
// start-up shows the edition's set.
void stack(QWidget* backdrop, std::initializer_list<std::pair<Picture*, QPoint>> pictures) {
    for (const auto& [picture, at] : pictures) {
        picture->setParent(backdrop);
        picture->move(at);
        picture->hide();
    }
}

} // namespace

void TForm1::buildButtonsPage() {
    auto* layout = new QHBoxLayout(Buttons);
    layout->setContentsMargins(2, 2, 2, 2);
    ORUtyp = named(new QTabWidget(Buttons), QStringLiteral("ORUtyp"));
    layout->addWidget(ORUtyp);
    ORUtyp1 = page(ORUtyp, QStringLiteral("ORUtyp1"), QStringLiteral("1"));
    ORUtyp2 = page(ORUtyp, QStringLiteral("ORUtyp2"), QStringLiteral("2 buttons"));
    ModuleButtons = page(ORUtyp, QStringLiteral("ModuleButtons"), QStringLiteral("ModuleButtons"));
    ModuleKeyboard = page(ORUtyp, QStringLiteral("ModuleKeyboard"), QStringLiteral("ModuleKeyboard"));

    // Page "1": one call button, numbers ABUTTON1 … 7 (the AABUTTON views).
    auto* one = new QHBoxLayout(ORUtyp1);
    Image6 = new Picture(QStringLiteral("Image6"), ORUtyp1, {370, 250});
    ORU1 = new Picture(QStringLiteral("ORU1"), ORUtyp1);
    ORUF1 = new Picture(QStringLiteral("ORUF1"), ORUtyp1);
    ORUL1 = new Picture(QStringLiteral("ORUL1"), ORUtyp1);
    PictureT1 = new Picture(QStringLiteral("PictureT1"), ORUtyp1);
    PictureK1 = new Picture(QStringLiteral("PictureK1"), ORUtyp1);
    Sipka1 = new Picture(QStringLiteral("Sipka1"), ORUtyp1);
    Sipkaf1 = new Picture(QStringLiteral("Sipkaf1"), ORUtyp1);
    SipkaGA1 = new Picture(QStringLiteral("SipkaGA1"), ORUtyp1);
    stack(Image6, {{ORU1, {20, 10}},
                   {ORUF1, {20, 10}},
                   {ORUL1, {20, 10}},
                   {PictureT1, {20, 10}},
                   {PictureK1, {20, 10}},
                   {Sipka1, {176, 148}},
                   {Sipkaf1, {176, 148}},
                   {SipkaGA1, {176, 93}}});
    one->addWidget(Image6, 0, Qt::AlignTop);
    Panel3 = numberPanel(ORUtyp1, QStringLiteral("Panel3"), QStringLiteral("AABUTTON"), AABUTTON);
    for (int i = 0; i < 7; ++i)
        findChild<QLabel*>(QStringLiteral("LabelAABUTTON%1").arg(i + 1))
            ->setText(QStringLiteral("ABUTTON%1").arg(i + 1));
    one->addWidget(Panel3, 0, Qt::AlignTop);

    // Page "2 buttons": ABUTTON1 … 7 beside BBUTTON1 … 7.
    auto* two = new QHBoxLayout(ORUtyp2);
    Image7 = new Picture(QStringLiteral("Image7"), ORUtyp2, {176, 250});
    ORU2 = new Picture(QStringLiteral("ORU2"), ORUtyp2);
    Image3 = new Picture(QStringLiteral("Image3"), ORUtyp2);
    ORUF2 = new Picture(QStringLiteral("ORUF2"), ORUtyp2);
    ORUL2 = new Picture(QStringLiteral("ORUL2"), ORUtyp2);
    PictureT2 = new Picture(QStringLiteral("PictureT2"), ORUtyp2);
    PictureK2 = new Picture(QStringLiteral("PictureK2"), ORUtyp2);
    SipkaGA2 = new Picture(QStringLiteral("SipkaGA2"), ORUtyp2, {40, 16});
    SipkaGB2 = new Picture(QStringLiteral("SipkaGB2"), ORUtyp2, {40, 16});
    Image5 = new Picture(QStringLiteral("Image5"), ORUtyp2, {40, 16});
    stack(Image7, {{ORU2, {4, 10}},
                   {Image3, {4, 10}},
                   {ORUF2, {4, 10}},
                   {ORUL2, {4, 10}},
                   {PictureT2, {4, 10}},
                   {PictureK2, {4, 10}},
                   {SipkaGA2, {136, 91}},
                   {SipkaGB2, {136, 117}},
                   {Image5, {136, 130}}});
    Image5->show();
    two->addWidget(Image7, 0, Qt::AlignTop);
    Panel1 = numberPanel(ORUtyp2, QStringLiteral("Panel1"), QStringLiteral("ABUTTON"), ABUTTON);
    Panel2 = numberPanel(ORUtyp2, QStringLiteral("Panel2"), QStringLiteral("BBUTTON"), BBUTTON);
    two->addWidget(Panel1, 0, Qt::AlignTop);
    two->addWidget(Panel2, 0, Qt::AlignTop);
}
