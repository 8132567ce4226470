#include "OLP_Logic_ConverterBase.h"

#include "OLP_Debug.h"

OLP_Logic_ConverterBase::OLP_Logic_ConverterBase(QObject* parent) : QObject(parent) {}

OLP_Logic_ConverterBase::~OLP_Logic_ConverterBase() = default;

QStringList OLP_Logic_ConverterBase::list() const
{
    return texts;
}

int OLP_Logic_ConverterBase::count() const
{
    return texts.size();
}

double OLP_Logic_ConverterBase::valueAt(int position) const
{
    // Lists without explicit values use the position; a values vector shorter
    // than the texts is treated the same way for the entries it lacks.
    return position < values.size() ? values.at(position) : double(position);
}

double OLP_Logic_ConverterBase::valueOf(const QString& text, bool* ok) const
{
    const int position = texts.indexOf(text);
    if (ok) {
        *ok = position >= 0;
    }
    return position >= 0 ? valueAt(position) : -1.0;
}

QString OLP_Logic_ConverterBase::textOf(double value) const
{
    for (int i = 0; i < texts.size(); ++i) {
        if (valueAt(i) == value) {
            return texts.at(i);
        }
    }
    return QString();
}

double OLP_Logic_ConverterBase::firstValue() const
{
    return texts.isEmpty() ? 0.0 : valueAt(0);
}

double OLP_Logic_ConverterBase::lastValue() const
{
    return texts.isEmpty() ? 0.0 : valueAt(texts.size() - 1);
}

void OLP_Logic_ConverterBase::clear()
{
    texts.clear();
    values.clear();
}

void OLP_Logic_ConverterBase::add(const QString& text, double value)
{
    // Entries added before without a value keep their positions.
    while (values.size() < texts.size()) {
        values.append(double(values.size()));
    }
    texts.append(text);
    values.append(value);
}

void OLP_Logic_ConverterBase::add(const QString& text)
{
    texts.append(text);
}

void OLP_Logic_ConverterBase::logUnknownProduct(const char* method, quint32 productId)
{
    debugPrintf(0, "%s - unknown ProductId 0x%X", method, productId);
}
