#pragma once

#include "base/messages.h"

#include <optional>

namespace screenkit {

// Before a run that would post again what is already there (`before` says
// what): the clerk is asked, "Hayır" the default. True when there is nothing
// to ask or the clerk says go on.
inline bool repeatAllowed(Messages &messages, const std::optional<QString> &before) {
    return !before || messages.ask(Messages::Icon::Question, Messages::korvane(),
                                   *before + QStringLiteral(" Yeniden yazılsın mı?"), false);
}

} // namespace screenkit
