#pragma once

#include <QLabel>
#include <QStatusBar>
#include <vector>

// The status bar: a row of text panels with fixed widths.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    StatusPanels(const std::vector<std::pair<QString, int>>& panels, QWidget* parent);
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    // Keeps the panel in view while a message shows, at the bar's right end, and the widget after it.
    void keepInView(int index, QWidget* after = nullptr);

private:
    std::vector<QLabel*> m_panels;
};
