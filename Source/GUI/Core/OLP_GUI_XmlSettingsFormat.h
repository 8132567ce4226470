#pragma once

#include <QSettings>
#include <QString>

class QIODevice;

// The program's own QSettings storage format "xml": every key becomes a chain of
// nested elements, one per path component, with the value as the character
// content of the innermost element. Keys that share leading components share
// their elements; a component that is an integer is written as an element named
// "arrayElement_" followed by the number.
//
// The format is registered by a static initialiser before main() runs; format()
// registers it as well, so a program that only links the class through
// OLP_GUI_Settings still gets it. All members may be called from any thread.
class OLP_GUI_XmlSettingsFormat
{
public:
    // The registered format, to pass to the QSettings constructor.
    static QSettings::Format format();
    // Whether the format has been registered already; reading this never registers.
    static bool isRegistered();

    // The QSettings read function: fills map from the XML on device. False when
    // the XML is malformed; the map then holds what was read before the fault.
    static bool readXmlFile(QIODevice& device, QSettings::SettingsMap& map);
    // The QSettings write function. A key whose components cannot be element
    // names, or whose first component is not the one most keys share (it would
    // be a second root element), is left out and logged, so the file always
    // parses again.
    // Characters XML 1.0 cannot hold are dropped from the values. False when
    // the device refused the data.
    static bool writeXmlFile(QIODevice& device, const QSettings::SettingsMap& map);

    // text without the characters XML 1.0 forbids (control characters other
    // than tab, line feed and carriage return, U+FFFE, U+FFFF, lone surrogates).
    static QString xmlSafeText(const QString& text);
    // The element name of one key component, or an empty string when the
    // component cannot be written as an element name.
    static QString elementName(const QString& component);
};
