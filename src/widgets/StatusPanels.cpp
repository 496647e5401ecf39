#include "widgets/StatusPanels.h"

StatusPanels::StatusPanels(const std::vector<std::pair<QString, int>>& panels, QWidget* parent)
    : QStatusBar(parent) {
    setSizeGripEnabled(false);
    // The panels' widths were made for a small font; the versions and the operator fit in it.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    for (const auto& [text, width] : panels) {
        auto* panel = new QLabel(text, this);
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::StyledPanel);
        // The last panel takes the rest of the bar, as long as the edition's version text is.
        const bool last = m_panels.size() + 1 == panels.size();
        if (last)
            panel->setMinimumWidth(width);
        else
            panel->setFixedWidth(width);
        addWidget(panel, last ? 1 : 0);
        m_panels.push_back(panel);
    }
}

QString StatusPanels::panelText(int index) const {
    return m_panels.at(index)->text();
}

void StatusPanels::setPanelText(int index, const QString& text) {
    m_panels.at(index)->setText(text);
}

void StatusPanels::keepInView(int index, QWidget* after) {
    QLabel* panel = m_panels.at(index);
    removeWidget(panel);
    addPermanentWidget(panel);
    panel->show();
    if (after) addPermanentWidget(after);
}
