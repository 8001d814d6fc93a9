#include "spots/TelnetErrorText.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

TEST(TelnetErrorText, GivesTheTablesMessageForEachKnownNumber)
{
    const std::pair<int, const char*> rows[] = {
        {7, "ERROR: Out of memory."},
        {380, "ERROR: The property value is invalid."},
        {10037, "ERROR: The operation is completed. No blocking operation in progress"},
        {10054, "ERROR: The connection is reset by remote side.!"},
        {10058, "ERROR: Socket has been shut down."},
        {10060, "ERROR: Socket has been shut down."},
        {10061, "ERROR: Connection is forcefully rejected."},
        {11001, "ERROR: Authoritative answer: Host not found."},
        {11004, "ERROR: Valid name, no data record of requested type."},
    };
    for (const auto& [number, message] : rows)
        EXPECT_EQ(TelnetErrorText::forNumber(number), QLatin1StringView(message)) << number;
}

TEST(TelnetErrorText, AnyOtherNumberIsShownAsANumber)
{
    for (const int number : {0, 8, 10059, 11000, 11005, -1})
        EXPECT_EQ(TelnetErrorText::forNumber(number), QStringLiteral("Error number ") + QString::number(number));
}

TEST(TelnetErrorText, AnUnmappedSocketErrorIsNeverReadAsTheTablesNumber)
{
    // The socket's own error value 7 is not the table's 7 ("Out of memory").
    EXPECT_EQ(TelnetErrorText::forError(TcpError{0, 7, QStringLiteral("proxy")}), QStringLiteral("Error number 7"));
    EXPECT_EQ(TelnetErrorText::forError(TcpError{TcpClient::kConnectionReset, 1, QString()}),
              QStringLiteral("ERROR: The connection is reset by remote side.!"));
}

}  // namespace
