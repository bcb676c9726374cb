#include "actions/attendance/attendanceaction.h"

#include "base/inifile.h"
#include "data/membersearch.h"

namespace attendance {
namespace {

const QString Section = QStringLiteral("Gruplar");

// The office's own tables, as the file was first written for them.
constexpr std::array<const char *, GroupCount> DefaultStarts{"",     "0347", "0606", "0780", "0879",
                                                             "0966", "1039", "",     "",     ""};
constexpr std::array<const char *, GroupCount> DefaultEnds{"0346", "0605", "0779", "0878", "0965",
                                                           "1038", "9999", "",     "",     ""};

QString key(const char *side, int group) {
    return QString::fromLatin1(side) + QStringLiteral("grup%1").arg(group + 1, 2, 10, QChar(u'0'));
}

} // namespace

Opening open(Company &s) {
    Opening o;
    if (const auto range = data::cardCodeRange(s.data, s.messages)) {
        o.firstCode = range->first;
        o.lastCode = range->last;
    }
    return o;
}

std::optional<std::vector<Member>> load(Company &s, const Query &query) {
    data::CardSelection selection;
    selection.codes = {query.first, query.last};
    selection.kinds = {0};
    selection.order = query.byName ? data::MemberOrder::ByName : data::MemberOrder::ByCode;
    std::vector<data::MemberCard> cards;
    if (!data::readCards(s.data, selection, &cards, s.messages))
        return std::nullopt;
    std::vector<Member> members;
    members.reserve(cards.size());
    for (const data::MemberCard &c : cards)
        members.push_back(
            {c.kod, c.isim1 + u' ' + c.isim2, c.adr1 + u' ' + c.adr2 + u' ' + c.adr3});
    return members;
}

bool listed(Messages &messages, const std::vector<Member> &members) {
    if (members.empty())
        messages.warning(QStringLiteral("Liste Getirilmemiş.."));
    return !members.empty();
}

QString groupFile(const Company &s) {
    return s.companyFile(QString::fromUtf16(GroupFileName));
}

Groups readGroups(const QString &file) {
    Groups groups;
    for (int g = 0; g < GroupCount; ++g) {
        groups[size_t(g)].start = ini::readValue(
            Section, key("B", g), QString::fromLatin1(DefaultStarts[size_t(g)]), file);
        groups[size_t(g)].end =
            ini::readValue(Section, key("S", g), QString::fromLatin1(DefaultEnds[size_t(g)]), file);
    }
    return groups;
}

bool storeGroups(const QString &file, const Groups &groups, Messages &messages) {
    bool stored = true;
    for (int g = 0; g < GroupCount && stored; ++g)
        stored = ini::writeValue(Section, key("B", g), file, groups[size_t(g)].start) &&
                 ini::writeValue(Section, key("S", g), file, groups[size_t(g)].end);
    if (!stored)
        messages.warning(QStringLiteral("Kaydedilemedi."));
    return stored;
}

PageGroups::PageGroups(const Groups &groups) {
    for (int g = 0; g < GroupCount; ++g)
        m_ends[size_t(g)] = groups[size_t(g)].end.trimmed().toUpper();
}

bool PageGroups::endsPage(const QString &kod) {
    if (m_next >= GroupCount || m_ends[size_t(m_next)].isEmpty())
        return false;
    if (kod.trimmed().toUpper() < m_ends[size_t(m_next)])
        return false;
    ++m_next;
    return true;
}

} // namespace attendance
