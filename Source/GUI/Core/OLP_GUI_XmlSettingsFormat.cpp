#include "OLP_GUI_XmlSettingsFormat.h"

#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <atomic>

#include "OLP_Debug.h"

namespace {

// A plain array, so the reader works even when called during static initialisation.
constexpr char kArrayElementPrefix[] = "arrayElement_";

std::atomic<bool> g_registered{false};

QSettings::Format registerOnce()
{
    static const QSettings::Format registered = [] {
        const QSettings::Format format =
            QSettings::registerFormat(QStringLiteral("xml"), &OLP_GUI_XmlSettingsFormat::readXmlFile,
                                      &OLP_GUI_XmlSettingsFormat::writeXmlFile, Qt::CaseSensitive);
        g_registered = true;
        return format;
    }();
    return registered;
}

// Registered before main() runs, so every QSettings of the program can use it.
[[maybe_unused]] const QSettings::Format g_xmlFormat = registerOnce();

bool isNameStartChar(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

bool isXmlChar(uint code)
{
    if (code == 0x9 || code == 0xA || code == 0xD) {
        return true;
    }
    return (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
           (code >= 0x10000 && code <= 0x10FFFF);
}

bool isWhitespaceOnly(const QString& text)
{
    for (const QChar c : text) {
        if (!c.isSpace()) {
            return false;
        }
    }
    return true;
}

}  // namespace

QSettings::Format OLP_GUI_XmlSettingsFormat::format()
{
    return registerOnce();
}

bool OLP_GUI_XmlSettingsFormat::isRegistered()
{
    return g_registered.load();
}

QString OLP_GUI_XmlSettingsFormat::xmlSafeText(const QString& text)
{
    QString safe;
    safe.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            safe.append(c);
            safe.append(text.at(++i));
        } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
            safe.append(c);
        }
    }
    return safe;
}

QString OLP_GUI_XmlSettingsFormat::elementName(const QString& component)
{
    bool isNumber = false;
    component.toInt(&isNumber, 10);
    const QString name = isNumber ? QLatin1String(kArrayElementPrefix) + component : component;
    if (name.isEmpty() || !isNameStartChar(name.at(0))) {
        return QString();
    }
    for (const QChar c : name) {
        if (!isNameChar(c)) {
            return QString();
        }
    }
    return name;
}

bool OLP_GUI_XmlSettingsFormat::writeXmlFile(QIODevice& device, const QSettings::SettingsMap& map)
{
    const char* const name = "OLP_GUI_XmlSettingsFormat::writeXmlFile";
    // Every key as its element names; keys that cannot be written are left out.
    QList<QPair<QStringList, QString>> entries;
    QHash<QString, int> rootCounts;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const QStringList components = it.key().split(QLatin1Char('/'));
        bool valid = true;
        for (const QString& component : components) {
            valid = valid && !elementName(component).isEmpty();
        }
        if (!valid) {
            debugPrintf(0, "%s - key cannot be stored as XML elements, left out: %s", name, qUtf8Printable(it.key()));
            continue;
        }
        entries.append(qMakePair(components, it.key()));
        ++rootCounts[components.first()];
    }
    // A document has one root element: the first component most keys share.
    QString root;
    for (const auto& entry : qAsConst(entries)) {
        if (root.isEmpty() || rootCounts.value(entry.first.first()) > rootCounts.value(root)) {
            root = entry.first.first();
        }
    }

    QXmlStreamWriter writer(&device);
    writer.setAutoFormatting(true);
    bool started = false;
    QStringList openChain;
    for (const auto& entry : qAsConst(entries)) {
        const QStringList& components = entry.first;
        const QString& key = entry.second;
        if (components.first() != root) {
            debugPrintf(0, "%s - key outside the root element %s, left out: %s", name, qUtf8Printable(root),
                        qUtf8Printable(key));
            continue;
        }
        if (!started) {
            writer.writeStartDocument();
            started = true;
        }

        int common = 0;
        while (common < openChain.size() && common < components.size() &&
               openChain.at(common) == components.at(common)) {
            ++common;
        }
        for (int i = openChain.size(); i > common; --i) {
            writer.writeEndElement();
        }
        for (int i = common; i < components.size(); ++i) {
            writer.writeStartElement(elementName(components.at(i)));
        }

        const QString text = map.value(key).toString();
        const QString safeText = xmlSafeText(text);
        if (safeText.size() != text.size()) {
            debugPrintf(0, "%s - %d characters XML cannot hold dropped from the value of %s", name,
                        int(text.size() - safeText.size()), qUtf8Printable(key));
        }
        writer.writeCharacters(safeText);
        openChain = components;
    }
    // With no key at all nothing is written: QSettings reads an empty file as
    // empty settings, whereas a document without a root element is malformed.
    if (started) {
        for (int i = openChain.size(); i > 0; --i) {
            writer.writeEndElement();
        }
        writer.writeEndDocument();
    }
    if (writer.hasError()) {
        debugPrintf(0, "%s - writing the settings failed: %s", name, qUtf8Printable(device.errorString()));
        return false;
    }
    return true;
}

bool OLP_GUI_XmlSettingsFormat::readXmlFile(QIODevice& device, QSettings::SettingsMap& map)
{
    QXmlStreamReader reader(&device);
    QStringList stack;
    // Character data of one element may arrive in several tokens; it is stored
    // as one value when the next element starts or ends.
    QString pending;
    const auto storePending = [&]() {
        if (!pending.isEmpty() && !stack.isEmpty() && !isWhitespaceOnly(pending)) {
            map.insert(stack.join(QLatin1Char('/')), QVariant(pending));
        }
        pending.clear();
    };

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartElement: {
                storePending();
                QString name = reader.name().toString();
                if (name.startsWith(QLatin1String(kArrayElementPrefix))) {
                    name.remove(0, int(sizeof(kArrayElementPrefix)) - 1);
                }
                stack.append(name);
                break;
            }
            case QXmlStreamReader::EndElement:
                storePending();
                if (!stack.isEmpty()) {
                    stack.removeLast();
                }
                break;
            case QXmlStreamReader::Characters:
                pending += reader.text();
                break;
            default:
                break;
        }
    }
    if (reader.hasError()) {
        debugPrintf(0, "%s - %s at line %lld column %lld", "OLP_GUI_XmlSettingsFormat::readXmlFile",
                    qUtf8Printable(reader.errorString()), static_cast<long long>(reader.lineNumber()),
                    static_cast<long long>(reader.columnNumber()));
        return false;
    }
    return true;
}
