#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

class QSvgRenderer;

// A picture of the window, drawn from an SVG of the program's resources, at its natural size unless
// a size is given. It is drawn the first time it shows: a batch run never draws the window.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const QString& name, QWidget* parent, QSize size = {});
    ~Picture() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<QSvgRenderer> m_renderer;
    QPixmap m_drawn;
};
