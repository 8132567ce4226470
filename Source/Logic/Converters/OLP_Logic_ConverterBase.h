#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

// The vocabulary of one list setting: the texts the user chooses from, in the
// order shown, and the value of each text in the program's units. A subclass
// fills both lists once in its constructor (for the product it is built for)
// and never changes them afterwards, except where it documents otherwise.
//
// An entry whose value is not given explicitly has its position as value
// (0, 1, 2, ...); such lists keep the values vector empty.
//
// Lives in the controller thread. The lookups keep no hidden state, so once
// built a converter may be read from any thread.
class OLP_Logic_ConverterBase : public QObject
{
    Q_OBJECT
public:
    explicit OLP_Logic_ConverterBase(QObject* parent = nullptr);
    ~OLP_Logic_ConverterBase() override;

    QStringList list() const;
    int count() const;

    // The value of the first entry whose text equals text; -1 when there is
    // none. Some lists hold -1 as a real value ("Hold"): callers that must tell
    // the two apart pass ok, which is set to whether a text matched.
    double valueOf(const QString& text, bool* ok = nullptr) const;

    // The text of the first entry whose value equals value exactly; an empty
    // text when none does.
    QString textOf(double value) const;

    // 0.0 for an empty list.
    double firstValue() const;
    double lastValue() const;

protected:
    void clear();
    // An entry with an explicit value.
    void add(const QString& text, double value);
    // An entry whose value is its position; only for lists without explicit values.
    void add(const QString& text);

    // "%s - unknown ProductId 0x%X" under the caller's class-and-method name.
    static void logUnknownProduct(const char* method, quint32 productId);

private:
    double valueAt(int position) const;

    QStringList texts;
    QVector<double> values;
};
