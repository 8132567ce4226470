#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPointF>
#include <memory>

#include "OLP_Color_WorldIF.h"

class OLP_Color_Match;
class OLP_Color_ProfileIF;
class OLP_GUI_LiveViewNavigatorWidget;
class QGridLayout;

// Shows one picture scaled to its size, top-left aligned: the live view
// frames and the quick view of the last picture. On live view it draws the
// focus cross, the grey-card pipette and the exposure spot, shows the zoom
// navigator, the move arrows and the recording mark, and turns left clicks on
// the picture into relative cross or grey-card positions. Every picture it
// takes over is answered with signalPixmapConsumed(), which paces the live
// view stream. Optionally the picture is colour-matched from the working space
// to the monitor's profile.
//
// Thread: GUI thread. Owns its colour match.
class OLP_GUI_ImageViewer : public QLabel
{
    Q_OBJECT
public:
    explicit OLP_GUI_ImageViewer(QWidget* parent = nullptr);
    ~OLP_GUI_ImageViewer() override;

    bool wantColorMatch() const { return m_wantColorMatch; }
    int liveViewMode() const { return m_liveViewMode; }
    int zoomLevel() const { return m_zoomLevel; }
    // Relative 0..1; negative when the camera reported none.
    QPointF markPosition() const { return m_markPosition; }
    // The picture as received, and scaled to the viewer (and colour-matched).
    QPixmap receivedPixmap() const { return m_received; }
    QPixmap scaledPixmap() const { return m_scaled; }

signals:
    void signalCrossPos(double x, double y);
    void signalGCPipPos(double x, double y);
    void signalPixmapConsumed();

public slots:
    void setWantColorMatch(bool want);
    void setInputProfile(const QString& path);
    void setInputProfile(const OLP_Color_ProfileIF& profile);
    void setOutputProfile(const QString& path);
    void setOutputProfile(const OLP_Color_ProfileIF& profile);
    void setRenderingIntent(OLP_Color_WorldIF::eRenderingIntent intent);
    void setPixmap(const QPixmap& pixmap);
    void setExpSpotIsActive(bool active);
    void setGCPipIsActive(bool active);
    void setLiveViewMode(int mode);
    void setWantMoveInZoom(bool want);
    void setZoomInfo(int unused, int level, double x, double y);
    void setZoomRect(double x, double y, double width, double height);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rescale();
    void applyColorMatch();
    void drawMarks();
    void updateVisibility();
    QLabel* makeOverlayLabel(const QString& objectName, const QString& imageName);

    QGridLayout* m_layout = nullptr;
    OLP_GUI_LiveViewNavigatorWidget* m_navigator = nullptr;
    QLabel* m_moveUp = nullptr;
    QLabel* m_moveLeft = nullptr;
    QLabel* m_moveRight = nullptr;
    QLabel* m_moveDown = nullptr;
    QLabel* m_recVideo = nullptr;

    bool m_expSpotActive = false;
    bool m_gcPipActive = false;
    int m_liveViewMode = 0;
    bool m_wantMoveInZoom = false;
    int m_zoomLevel = 0;
    QPointF m_markPosition{-1.0, -1.0};
    QPixmap m_received;
    QPixmap m_scaled;
    QPixmap m_focusCross;
    QPixmap m_gcPipette;
    QPixmap m_expSpot;
    std::unique_ptr<OLP_Color_Match> m_colorMatch;
    bool m_wantColorMatch = false;
};
