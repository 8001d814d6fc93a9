#include "core/SharedPrefsDocument.h"
#include "export/SharedXmlText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace cubwave::test {
namespace {

TEST(SharedXmlText, EscapesTheThreeMarkupCharactersAndReadsThemBack)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Smith & Sons", "Smith &amp; Sons"},
        {"</OWN_EMAIL>", "&lt;/OWN_EMAIL&gt;"},
        {"a<b>c&d", "a&lt;b&gt;c&amp;d"},
        {"&amp;", "&amp;amp;"},
        {"plain \"quoted\" 'text'", "plain \"quoted\" 'text'"},
        {"", ""},
    };
    for (const auto& [raw, escaped] : cases) {
        EXPECT_EQ(escapeXmlText(QString::fromUtf8(raw)), QString::fromUtf8(escaped)) << raw;
        EXPECT_EQ(unescapeXmlText(QString::fromUtf8(escaped)), QString::fromUtf8(raw)) << escaped;
    }
}

TEST(SharedXmlText, ReadsWhatOtherProgramsMayWrite)
{
    EXPECT_EQ(unescapeXmlText(QStringLiteral("Jos&#233; &#xE9;&quot;&apos;")), QStringLiteral("José é\"'"));
    // An unknown or broken reference stays as it is.
    EXPECT_EQ(unescapeXmlText(QStringLiteral("a & b &unknown; &#xZZ; &#0; &#1114112; &")),
              QStringLiteral("a & b &unknown; &#xZZ; &#0; &#1114112; &"));
}

TEST(SharedXmlText, AValueWithMarkupLeavesTheDocumentWellFormedAndUpdatable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    SharedPrefsDocument doc;
    doc.load(path);
    ASSERT_TRUE(doc.setValue(QStringLiteral("OTHER_PROGRAM"), QStringLiteral("kept"), false).ok);
    ASSERT_TRUE(doc.setValue(QStringLiteral("OWN_ADDRESS_NAME"), escapeXmlText(QStringLiteral("Smith & Sons")), false).ok);
    ASSERT_TRUE(doc.setValue(QStringLiteral("OWN_EMAIL"), escapeXmlText(QStringLiteral("x</OWN_EMAIL>y")), true).ok);
    // A second update replaces the whole value instead of stopping at the "</OWN_EMAIL>" inside it.
    ASSERT_TRUE(doc.setValue(QStringLiteral("OWN_EMAIL"), escapeXmlText(QStringLiteral("sam@example.org")), true).ok);

    SharedPrefsDocument reread;
    reread.load(path);
    EXPECT_EQ(unescapeXmlText(reread.value(QStringLiteral("OWN_ADDRESS_NAME"))), QStringLiteral("Smith & Sons"));
    EXPECT_EQ(unescapeXmlText(reread.value(QStringLiteral("OWN_EMAIL"))), QStringLiteral("sam@example.org"));
    EXPECT_EQ(reread.value(QStringLiteral("OTHER_PROGRAM")), QStringLiteral("kept"));

    // Each element reads as XML: the elements follow one another, so they are read inside a root.
    QXmlStreamReader xml(QStringLiteral("<root>") + reread.text().section(QStringLiteral("?>"), 1) +
                         QStringLiteral("</root>"));
    QStringList names;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != QLatin1String("root"))
            names << xml.name().toString() + QLatin1Char('=') + xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(names, QStringList({QStringLiteral("OTHER_PROGRAM=kept"), QStringLiteral("OWN_ADDRESS_NAME=Smith & Sons"),
                                  QStringLiteral("OWN_EMAIL=sam@example.org")}));
}

}  // namespace
}  // namespace cubwave::test
