#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QtTest>

#include "OLP_Artwork.h"
#include "OLP_ArtworkPaths.h"

// The compiled-in images, checked against the names the widgets and the style
// sheet build, written out here by hand: a misspelt or forgotten image would
// otherwise show as an empty label at run time.

namespace {

const QString kRoot = QStringLiteral(":/OLP_GUI/images/");

// A set of images one label or button switches between: they must have one
// size (the label scales each to its own size) and must differ from each
// other (or the user cannot tell the states apart). An empty size means the
// widget leaves the size open.
struct Group
{
    QString name;
    QStringList paths;
    QSize size;
};

QStringList prefixed(const QString& prefix, const QStringList& names, const QString& suffix = QStringLiteral(".png"))
{
    QStringList out;
    for (const QString& name : names) {
        out.append(prefix + name + suffix);
    }
    return out;
}

QStringList numbered(const QString& prefix, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i) {
        out.append(QStringLiteral("%1%2.png").arg(prefix).arg(i));
    }
    return out;
}

// The texts of the compensation and light balance scales: thirds and halves
// from -3 to +3, "+" above zero.
const QStringList kScaleTexts = {
    QStringLiteral("-3.0"), QStringLiteral("-2.7"), QStringLiteral("-2.5"), QStringLiteral("-2.3"),
    QStringLiteral("-2.0"), QStringLiteral("-1.7"), QStringLiteral("-1.5"), QStringLiteral("-1.3"),
    QStringLiteral("-1.0"), QStringLiteral("-0.7"), QStringLiteral("-0.5"), QStringLiteral("-0.3"),
    QStringLiteral("0.0"),  QStringLiteral("+0.3"), QStringLiteral("+0.5"), QStringLiteral("+0.7"),
    QStringLiteral("+1.0"), QStringLiteral("+1.3"), QStringLiteral("+1.5"), QStringLiteral("+1.7"),
    QStringLiteral("+2.0"), QStringLiteral("+2.3"), QStringLiteral("+2.5"), QStringLiteral("+2.7"),
    QStringLiteral("+3.0"),
};

// Buttons of 33 x 30 and the 11 x 30 switch, drawn at twice their size.
const QSize kToolButton(66, 60);
const QSize kMinGui(22, 60);

QVector<Group> expectedGroups()
{
    QVector<Group> g;
    const QStringList buttonStates = {QStringLiteral("notChecked"), QStringLiteral("hover"), QStringLiteral("checked")};
    const QStringList pressStates = {QStringLiteral("notPressed"), QStringLiteral("hover"), QStringLiteral("pressed")};

    // Camera window.
    g.append({QStringLiteral("logo"), {kRoot + QStringLiteral("OrvaneLogo.png")}, {}});
    g.append({QStringLiteral("body"), {kRoot + QStringLiteral("CameraBody.png")}, {}});
    g.append({QStringLiteral("handle"), {kRoot + QStringLiteral("CameraHandle.png")}, {}});
    g.append({QStringLiteral("combo arrow"),
              prefixed(kRoot, {QStringLiteral("downarrow"), QStringLiteral("downarrow_inact")}),
              {}});
    g.append({QStringLiteral("infinity"), {kRoot + QStringLiteral("infinity.png")}, {}});
    g.append({QStringLiteral("load effect"),
              QStringList(kRoot + QStringLiteral("LoadEffect/LoadEffectDefault.png")) +
                  numbered(kRoot + QStringLiteral("LoadEffect/LoadEffect"), 1, 5),
              {}});
    g.append({QStringLiteral("battery"),
              prefixed(kRoot + QStringLiteral("Battery"),
                       {QStringLiteral("AC"), QStringLiteral("10perCent"), QStringLiteral("25perCent"),
                        QStringLiteral("50perCent"), QStringLiteral("75perCent"), QStringLiteral("100perCent"),
                        QStringLiteral("Empty")}),
              {}});
    // The shutter button shows every power switch position in every state.
    QStringList release;
    for (const QString& sw :
         {QStringLiteral("VOID"), QStringLiteral("OFF"), QStringLiteral("FPS"), QStringLiteral("CS")}) {
        release += prefixed(kRoot + QStringLiteral("ReleaseButton_%1_").arg(sw), pressStates);
    }
    g.append({QStringLiteral("release button"), release, {}});
    g.append({QStringLiteral("video button"), prefixed(kRoot + QStringLiteral("VideoButton_"), pressStates), {}});
    for (const QString& tool :
         {QStringLiteral("KeyLockButton"), QStringLiteral("LiveViewPhotoButton"), QStringLiteral("LiveViewVideoButton"),
          QStringLiteral("MirrorButton"), QStringLiteral("QuickViewButton")}) {
        g.append({tool, prefixed(kRoot + tool + QLatin1Char('_'), buttonStates), kToolButton});
    }
    g.append(
        {QStringLiteral("minimal window switch"),
         prefixed(kRoot + QStringLiteral("MinGUI_"), {QStringLiteral("notChecked"), QStringLiteral("notChecked_hover"),
                                                      QStringLiteral("checked"), QStringLiteral("checked_hover")}),
         kMinGui});

    // Viewfinder status line.
    QStringList digits;
    for (int i = 0; i <= 9; ++i) {
        digits.append(kRoot + QStringLiteral("7Segment/Digit_%1.png").arg(i));
    }
    digits += prefixed(kRoot + QStringLiteral("7Segment/Digit_"),
                       {QStringLiteral("inch"), QStringLiteral("b"), QStringLiteral("C"), QStringLiteral("H"),
                        QStringLiteral("L_Capital"), QStringLiteral("l"), QStringLiteral("u"), QStringLiteral("null")});
    g.append({QStringLiteral("digits"), digits, {}});
    g.append(
        {QStringLiteral("decimal point"),
         prefixed(kRoot + QStringLiteral("7Segment/Digit_"), {QStringLiteral("dot_on"), QStringLiteral("dot_off")}),
         {}});
    g.append(
        {QStringLiteral("exposure mode"),
         prefixed(kRoot + QStringLiteral("7Segment/A-"), {QStringLiteral("m"), QStringLiteral("T"), QStringLiteral("A"),
                                                          QStringLiteral("P"), QStringLiteral("null")}),
         {}});
    g.append({QStringLiteral("transfer counter"),
              numbered(kRoot + QStringLiteral("7SegmentLoad/"), 0, 9) +
                  QStringList(kRoot + QStringLiteral("7SegmentLoad/grey_eight.png")),
              {}});
    g.append({QStringLiteral("metering"),
              prefixed(kRoot + QStringLiteral("ExposMetering/ExposMetering_"),
                       {QStringLiteral("spot"), QStringLiteral("centerWeighted"), QStringLiteral("multiField"),
                        QStringLiteral("none")}),
              {}});
    g.append({QStringLiteral("compensation sign"),
              prefixed(kRoot + QStringLiteral("ExposCompensation/ExposCompensation_"),
                       {QStringLiteral("on"), QStringLiteral("off")}),
              {}});
    g.append({QStringLiteral("light balance"),
              prefixed(kRoot + QStringLiteral("LightBal/LightBal"),
                       {QString(), QStringLiteral("-inactive"), QStringLiteral("-(0.0-Left)"),
                        QStringLiteral("-(0.0-Right)"), QStringLiteral("-(-3.0)"), QStringLiteral("-(-2.5)"),
                        QStringLiteral("-(-2.0)"), QStringLiteral("-(-1.5)"), QStringLiteral("-(-1.0)"),
                        QStringLiteral("-(-0.5)"), QStringLiteral("-(+0.5)"), QStringLiteral("-(+1.0)"),
                        QStringLiteral("-(+1.5)"), QStringLiteral("-(+2.0)"), QStringLiteral("-(+2.5)"),
                        QStringLiteral("-(+3.0)")}),
              {}});
    g.append({QStringLiteral("flash"),
              prefixed(kRoot + QStringLiteral("LightBal/FlashSymbol_"), {QStringLiteral("on"), QStringLiteral("off")}),
              {}});
    g.append({QStringLiteral("flash X"),
              prefixed(kRoot + QStringLiteral("LightBal/FlashXSymbol_"), {QStringLiteral("on"), QStringLiteral("off")}),
              {}});
    g.append({QStringLiteral("focus confirmation"),
              prefixed(kRoot + QStringLiteral("FocusConfirmation/FocusConfirmation_"),
                       {QStringLiteral("none"), QStringLiteral("center"), QStringLiteral("left"),
                        QStringLiteral("leftCenter"), QStringLiteral("right"), QStringLiteral("rightCenter")}),
              {}});
    g.append({QStringLiteral("level roll"),
              numbered(kRoot + QStringLiteral("3DAxis/3DAxis_Horizontal_"), 1, 7) +
                  QStringList(kRoot + QStringLiteral("3DAxis/3DAxis_Horizontal_10.png")),
              {}});
    g.append({QStringLiteral("level pitch"),
              numbered(kRoot + QStringLiteral("3DAxis/3DAxis_Vertikal_"), 1, 9) +
                  QStringList(kRoot + QStringLiteral("3DAxis/3DAxis_Vertikal_11.png")),
              {}});

    // The viewfinder layout with text fields.
    const QString pelvo = kRoot + QStringLiteral("ViewFinderPelvo/");
    g.append({QStringLiteral("pelvo mode"),
              prefixed(pelvo + QStringLiteral("expMode/VFPelvo_expMode_"),
                       {QStringLiteral("M"), QStringLiteral("S"), QStringLiteral("A"), QStringLiteral("P"),
                        QStringLiteral("Pstar")}),
              {}});
    g.append(
        {QStringLiteral("pelvo iso auto"),
         prefixed(pelvo + QStringLiteral("isoAuto/VFPelvo_isoAuto_"), {QStringLiteral("on"), QStringLiteral("off")}),
         {}});
    g.append(
        {QStringLiteral("pelvo aperture unit"),
         prefixed(pelvo + QStringLiteral("expSim/VFPelvo_F_expSim_"), {QStringLiteral("on"), QStringLiteral("off")}),
         {}});
    // Seconds and minutes share the shutter time's unit label.
    g.append({QStringLiteral("pelvo shutter unit"),
              prefixed(pelvo + QStringLiteral("expSim/VFPelvo_"),
                       {QStringLiteral("S_expSim_on"), QStringLiteral("S_expSim_off"), QStringLiteral("m_expSim_on"),
                        QStringLiteral("m_expSim_off")}),
              {}});
    g.append({QStringLiteral("pelvo flash"), {pelvo + QStringLiteral("flashStatus/VFPelvo_flashOn.png")}, {}});
    QStringList compensation;
    QStringList balance;
    for (const QString& step : {QStringLiteral("333"), QStringLiteral("500")}) {
        for (const QString& text : kScaleTexts) {
            compensation.append(pelvo + QStringLiteral("ExpComp/VFPelvo_ExpComp_%1_(%2).png").arg(text, step));
        }
        for (const QString& text :
             kScaleTexts + QStringList{QStringLiteral("inact"), QStringLiteral("over"), QStringLiteral("under")}) {
            balance.append(pelvo + QStringLiteral("LightBal/VFPelvo_LightBal_%1_(%2).png").arg(text, step));
        }
    }
    g.append({QStringLiteral("pelvo compensation"), compensation, {}});
    g.append({QStringLiteral("pelvo light balance"), balance, {}});

    // Live view.
    const QString live = kRoot + QStringLiteral("LiveView/");
    g.append({QStringLiteral("zoom"), prefixed(live + QStringLiteral("Zoom_"), buttonStates), {}});
    g.append({QStringLiteral("grey card switch"), prefixed(live + QStringLiteral("GCPipette_"), buttonStates), {}});
    g.append({QStringLiteral("autofocus"),
              prefixed(live + QStringLiteral("AFon_"),
                       {QStringLiteral("normal"), QStringLiteral("hover"), QStringLiteral("pressed")}),
              {}});
    g.append({QStringLiteral("grey card save"),
              prefixed(live + QStringLiteral("GCSave_"), {QStringLiteral("normal"), QStringLiteral("hover")}),
              {}});
    g.append({QStringLiteral("exposure simulation"),
              prefixed(live + QStringLiteral("ExpSimulation_"),
                       {QStringLiteral("off_checked"), QStringLiteral("off_hover"),
                        QStringLiteral("apertureShutter_checked"), QStringLiteral("apertureShutter_hover"),
                        QStringLiteral("aperture_checked"), QStringLiteral("aperture_hover")}),
              {}});
    g.append({QStringLiteral("move arrows"),
              prefixed(live + QStringLiteral("move_"),
                       {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("up"), QStringLiteral("down")}),
              {}});
    g.append({QStringLiteral("recording"), {live + QStringLiteral("RecVideo.png")}, {}});
    g.append({QStringLiteral("focus cross"), {live + QStringLiteral("FocusCross.png")}, {}});
    g.append({QStringLiteral("exposure spot"), {live + QStringLiteral("ExpSpot.png")}, {}});
    g.append({QStringLiteral("grey card mark"), {live + QStringLiteral("GCPipette.png")}, {}});
    return g;
}

// True when some pixel differs from the first one.
bool showsSomething(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != first) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

class tst_Artwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void groups_data();
    void groups();
    void resourcesHoldExactlyTheNamedImages();
    void placeholder();
    void applicationIcon_data();
    void applicationIcon();
};

void tst_Artwork::initTestCase()
{
    olpInitArtwork();
    // The camera object registers this one itself; the test does it here.
    Q_INIT_RESOURCE(olp_logic_images);
}

void tst_Artwork::groups_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QSize>("size");
    for (const Group& group : expectedGroups()) {
        QTest::newRow(qPrintable(group.name)) << group.paths << group.size;
    }
}

// Catches a missing or empty image, a state drawn the same as another, and
// images of one label drawn at different sizes.
void tst_Artwork::groups()
{
    QFETCH(QStringList, paths);
    QFETCH(QSize, size);
    QVector<QImage> images;
    for (const QString& path : qAsConst(paths)) {
        QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(" is missing")));
        QVERIFY2(showsSomething(image), qPrintable(path + QStringLiteral(" is one colour")));
        if (size.isValid()) {
            QCOMPARE(image.size(), size);
        }
        if (!images.isEmpty()) {
            QVERIFY2(image.size() == images.first().size(),
                     qPrintable(path + QStringLiteral(" differs in size from ") + paths.first()));
        }
        for (int i = 0; i < images.size(); ++i) {
            QVERIFY2(image != images.at(i), qPrintable(path + QStringLiteral(" looks like ") + paths.at(i)));
        }
        images.append(image);
    }
}

// A misspelt name shows up here twice: as a missing image and a stray one.
void tst_Artwork::resourcesHoldExactlyTheNamedImages()
{
    QSet<QString> expected;
    for (const Group& group : expectedGroups()) {
        for (const QString& path : group.paths) {
            expected.insert(path);
        }
    }
    QSet<QString> present;
    QDirIterator it(QStringLiteral(":/OLP_GUI/images"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        present.insert(it.next());
    }
    QStringList missing = (expected - present).values();
    QStringList stray = (present - expected).values();
    missing.sort();
    stray.sort();
    QCOMPARE(missing, QStringList());
    QCOMPARE(stray, QStringList());
}

// The image database's placeholder keeps its resource path and its size, and
// stays a PNG (the camera object hands its bytes on as a thumbnail).
void tst_Artwork::placeholder()
{
    QFile file(QStringLiteral(":/images/download.png"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage image = QImage::fromData(bytes, "PNG");
    QCOMPARE(image.size(), QSize(96, 96));
    QVERIFY(showsSomething(image));
}

void tst_Artwork::applicationIcon_data()
{
    QTest::addColumn<int>("size");
    for (int size : {48, 64, 128, 256}) {
        QTest::newRow(qPrintable(QString::number(size))) << size;
    }
}

// The icon theme folder the install rules copy from.
void tst_Artwork::applicationIcon()
{
    QFETCH(int, size);
    const QString path = QStringLiteral(OLP_ARTWORK_ICON_DIR "/hicolor/%1x%1/apps/orvane-lumaport.png").arg(size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(showsSomething(image));
    QVERIFY(image.hasAlphaChannel());
}

QTEST_GUILESS_MAIN(tst_Artwork)
#include "tst_Artwork.moc"
