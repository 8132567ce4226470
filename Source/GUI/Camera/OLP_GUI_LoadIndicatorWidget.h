#pragma once

#include <QLabel>
#include <QTimer>

// The transfer indicator of the camera window: while pictures are transferred
// it cycles through frames 1 to 5 every 100 ms; idle it shows frame 0.
// GUI thread only; owns its timer.
class OLP_GUI_LoadIndicatorWidget : public QLabel
{
    Q_OBJECT
public:
    static constexpr int kFrameMs = 100;
    static constexpr int kFrames = 5;

    explicit OLP_GUI_LoadIndicatorWidget(QWidget* parent = nullptr);

    int frame() const { return m_frame; }
    bool isLoading() const;

    static QString imageOf(int frame);

public slots:
    void setLoading(bool loading);

private slots:
    void catchLoadImageTimer();

private:
    void showFrame(int frame);

    QTimer* m_timer = nullptr;
    int m_frame = 0;
};
