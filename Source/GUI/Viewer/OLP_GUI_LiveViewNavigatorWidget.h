#pragma once

#include <QRectF>
#include <QWidget>

// The zoom navigator over the live view picture: the outline of the whole
// frame and the zoomed part of it as a light rectangle.
//
// Thread: GUI thread.
class OLP_GUI_LiveViewNavigatorWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_LiveViewNavigatorWidget(QWidget* parent = nullptr);

    // Relative to the frame, 0..1.
    QRectF zoomRect() const { return m_zoomRect; }

public slots:
    void setZoomRect(double x, double y, double width, double height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF m_zoomRect;
};
