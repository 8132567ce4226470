#include "OLP_GUI_LabelImage.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QSet>
#include <QVariant>

#include "OLP_Artwork.h"
#include "OLP_Debug.h"

QString OLP_GUI_LabelImage::resourcePath(const QString& relativePath)
{
    return relativePath.isEmpty() ? QString() : QLatin1String(kRoot) + relativePath;
}

void OLP_GUI_LabelImage::show(QLabel* label, const QString& relativePath)
{
    if (!label) {
        return;
    }
    const QString path = resourcePath(relativePath);
    label->setProperty(kPathProperty, path);
    if (path.isEmpty()) {
        label->setPixmap(QPixmap());
        return;
    }
    // The images are compiled into a static library: make sure they are registered.
    static const bool artworkRegistered = (olpInitArtwork(), true);
    Q_UNUSED(artworkRegistered);
    const QPixmap pixmap = QIcon(path).pixmap(label->size(), QIcon::Normal, QIcon::On);
    if (pixmap.isNull() && !QFile::exists(path)) {
        // A missing image is a build fault; say so once instead of on every redraw.
        static QSet<QString> reported;
        if (!reported.contains(path)) {
            reported.insert(path);
            debugPrintf(0, "%s - missing image %s", "OLP_GUI_LabelImage::show", qUtf8Printable(path));
        }
    }
    label->setPixmap(pixmap);
}

QString OLP_GUI_LabelImage::shownPath(const QLabel* label)
{
    return label ? label->property(kPathProperty).toString() : QString();
}
