#include "actions/labels/labelsaction.h"

#include "data/membersearch.h"

namespace labels {
namespace {

std::optional<data::CodeRange> textRange(const Range &r) {
    return data::CodeRange{r.first, r.last};
}

} // namespace

Opening open(Company &s) {
    Opening o;
    // A card without a code gets no label.
    if (const auto range = data::cardCodeRange(s.data, s.messages, data::EmptyCode::Skipped)) {
        o.firstCode = range->first;
        o.lastCode = range->last;
    }
    return o;
}

bool orderCodes(Selection &selection) {
    if (selection.codes.first <= selection.codes.last)
        return false;
    std::swap(selection.codes.first, selection.codes.last);
    return true;
}

std::optional<std::vector<data::MemberCard>> load(Company &s, const Selection &selection) {
    data::CardSelection cards;
    const bool boxes[] = {selection.members, selection.sellers, selection.others};
    for (int kind = 0; kind < 3; ++kind)
        if (boxes[kind])
            cards.kinds.push_back(kind);
    if (cards.kinds.empty()) {
        s.messages.warning(
            QStringLiteral("A/S/D Seceneklerinden biri veya fazlası işaretlenmelidir.."));
        return std::nullopt;
    }
    cards.codes = {selection.codes.first, selection.codes.last};
    cards.groups = textRange(selection.groups);
    cards.types = textRange(selection.types);
    cards.specials = textRange(selection.specials);
    std::vector<data::MemberCard> out;
    if (!data::readCards(s.data, cards, &out, s.messages))
        return std::nullopt;
    return out;
}

void sayFinished(Messages &messages) {
    messages.done(QStringLiteral("Etiketler Bitmiştir.."));
}

} // namespace labels
