#pragma once

#include <QString>

class QLabel;

// The one way the status widgets show an image: a QIcon built from the
// resource path, drawn with QIcon::pixmap at the label's current size (state
// normal, on). Paths are relative to ":/OLP_GUI/images/"; an empty path shows an
// empty pixmap. The full resource path shown (empty for none) is kept on the
// label as the dynamic property kPathProperty, so that tests and screenshots
// can tell which image a label shows without comparing pixels.
//
// GUI thread only.
class OLP_GUI_LabelImage
{
public:
    static constexpr const char* kPathProperty = "imagePath";
    static constexpr const char* kRoot = ":/OLP_GUI/images/";

    // ":/OLP_GUI/images/" + relativePath; empty for an empty path.
    static QString resourcePath(const QString& relativePath);
    // Draws the image on the label and records its path. A path that names no
    // resource leaves an empty label and logs one line per path.
    static void show(QLabel* label, const QString& relativePath);
    // The full resource path the label shows; empty when it shows none.
    static QString shownPath(const QLabel* label);
};
