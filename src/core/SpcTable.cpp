#include "core/SpcTable.h"

namespace cubwave {

namespace {

constexpr std::array<SpcTable::Entry, SpcTable::kSize> kEntries{{
    {"CT", "Connecticut", "1"},        {"MA", "Massachusetts", "1"},
    {"ME", "Maine", "1"},              {"NH", "New Hampshire", "1"},
    {"RI", "Rhode Island", "1"},       {"VT", "Vermont", "1"},
    {"NY", "New York", "2"},           {"NJ", "New Jersey", "2"},
    {"DE", "Delaware", "3"},           {"PA", "Pennsylvania", "3"},
    {"MD", "Maryland", "3"},           {"AL", "Alabama", "4"},
    {"GA", "Georgia", "4"},            {"KY", "Kentucky", "4"},
    {"NC", "North Carolina", "4"},     {"FL", "Florida", "4"},
    {"SC", "South Carolina", "4"},     {"TN", "Tennessee", "4"},
    {"VA", "Virginia", "4"},           {"AR", "Arkansas", "5"},
    {"LA", "Louisiana", "5"},          {"MS", "Mississippi", "5"},
    {"NM", "New Mexico", "5"},         {"TX", "Texas", "5"},
    {"OK", "Oklahoma", "5"},           {"CA", "California", "6"},
    {"XHIX", "Hawaii", "6"},           {"AZ", "Arizona", "7"},
    {"WA", "Washington", "7"},         {"ID", "Idaho", "7"},
    {"MT", "Montana", "7"},            {"NV", "Nevada", "7"},
    {"OR", "Oregon", "7"},             {"UT", "Utah", "7"},
    {"WY", "Wyoming", "7"},            {"XAKX", "Alaska", "7"},
    {"MI", "Michigan", "8"},           {"OH", "Ohio", "8"},
    {"WV", "West Virginia", "8"},      {"IL", "Illinois", "9"},
    {"IN", "Indiana", "9"},            {"WI", "Wisconsin", "9"},
    {"CO", "Colorado", "0"},           {"IA", "Iowa", "0"},
    {"KS", "Kansas", "0"},             {"MN", "Minnesota", "0"},
    {"MO", "Missouri", "0"},           {"NE", "Nebraska", "0"},
    {"ND", "North Dakota", "0"},       {"SD", "South Dakota", "0"},
    {"NB", "New Brunswick", "Canada"}, {"NS", "Nova Scotia", "Canada"},
    {"QC", "Quebec", "Canada"},        {"ON", "Ontario", "Canada"},
    {"MB", "Manitoba", "Canada"},      {"SK", "Saskatchewan", "Canada"},
    {"AB", "Alberta", "Canada"},       {"BC", "British Columbia", "Canada"},
    {"NT", "Northwest Territories", "Canada"}, {"NL", "Newfoundland Labrador", "Canada"},
    {"YK", "Yukon", "Canada"},         {"PE", "Prince Edward", "Canada"},
}};

struct CanadianPrefix {
    const char* prefix;
    const char* spc;
};

constexpr std::array<CanadianPrefix, 13> kCanadian{{
    {"VE1", "NS"}, {"VE2", "QC"}, {"VE3", "ON"}, {"VE4", "MB"}, {"VE5", "SK"},
    {"VE6", "AB"}, {"VE7", "BC"}, {"VE8", "NT"}, {"VE9", "NB"}, {"VO1", "NL"},
    {"VO2", "NL"}, {"VY1", "YK"}, {"VY2", "PE"},
}};

}  // namespace

const SpcTable::Entry& SpcTable::entry(int i) { return kEntries.at(static_cast<size_t>(i - 1)); }

int SpcTable::find(const QString& text)
{
    for (int i = 0; i < kSize; ++i) {
        if (text.compare(QLatin1String(kEntries[i].code), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

QString SpcTable::canadianSpcForCall(const QString& call)
{
    const QString first3 = call.left(3);
    for (const CanadianPrefix& p : kCanadian) {
        if (first3.compare(QLatin1String(p.prefix), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(p.spc);
    }
    return {};
}

}  // namespace cubwave
