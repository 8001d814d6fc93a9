// Any bytes as "SharedUserPreferences.xml", as another program may have left it. A document the
// program may save reads back to the same text; a value it sets reads back as set and never
// costs a value set before it; a document it refused to read whole is never saved over.
#include "core/SharedPrefsDocument.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Element names as the program uses them: capitals, digits and "_".
QString nameFrom(uint8_t seed, const char* fallback)
{
    static const char* const kNames[] = {"OWN_ADDRESS_NAME", "OWN_ADDRESS_LINE1", "OWN_ADDRESS_LINE2",
                                         "OWN_EMAIL",        "CALL",              "A",
                                         "CALLSIGN",         "X1"};
    return seed == 0 ? QString::fromLatin1(fallback) : QString::fromLatin1(kNames[seed % 8]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first two bytes pick two names; the next byte splits the rest into the document and
    // a value.
    const uint8_t a = size > 0 ? data[0] : 0;
    const uint8_t b = size > 1 ? data[1] : 0;
    const size_t split = size > 2 ? data[2] : 0;
    const size_t head = std::min<size_t>(size, 3);
    const QByteArray rest(reinterpret_cast<const char*>(data) + head, static_cast<qsizetype>(size - head));
    const qsizetype valueBytes = std::min<qsizetype>(rest.size(), static_cast<qsizetype>(split));
    const QString value = QString::fromUtf8(rest.first(valueBytes));
    const QByteArray document = rest.sliced(valueBytes);
    const QString path = QStringLiteral("/nonexistent/SharedUserPreferences.xml");

    SharedPrefsDocument doc;
    doc.loadBytes(path, document);
    if (!doc.saveRefusal().isEmpty()) {
        check(!doc.save(path).ok);  // refused before any file is touched
        return 0;
    }
    // What would be saved reads back as the same document.
    SharedPrefsDocument again;
    again.loadBytes(path, doc.fileBytes());
    check(again.saveRefusal().isEmpty() && again.text() == doc.text());
    if (document.endsWith("\r\n") || document.isEmpty())
        check(doc.fileBytes() == (document.isEmpty() ? QByteArray("\r\n") : document));

    const QString nameA = nameFrom(a, "OWN_EMAIL");
    QString nameB = nameFrom(b, "OWN_ADDRESS_NAME");
    if (nameB == nameA)
        nameB = nameA + QStringLiteral("_2");
    const QString closeB = QStringLiteral("</") + nameB + QLatin1Char('>');

    doc.setValue(nameA, value, false);
    check(doc.value(nameA) == value);
    check(doc.value(nameA.toLower()) == value);
    const QString otherValue = value.isEmpty() ? QStringLiteral("x") : value + value;
    doc.setValue(nameB, otherValue, false);
    check(doc.value(nameB) == otherValue);
    doc.setValue(nameB, value, false);
    check(doc.value(nameB) == value);
    // With no element B in the document to hold A, setting B cannot touch A's value.
    if (!QString::fromUtf8(document).contains(closeB))
        check(doc.value(nameA) == value);

    SharedPrefsDocument reread;
    reread.loadBytes(path, doc.fileBytes());
    check(reread.text() == doc.text());
    check(reread.value(nameA) == doc.value(nameA) && reread.value(nameB) == value);
    return 0;
}
