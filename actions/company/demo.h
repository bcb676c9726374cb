#pragma once

#include "base/messages.h"

#include <QString>
#include <cstdint>

namespace newcompany {

struct DemoSummary {
    int members = 0;
    int others = 0;
    int prices = 0;
    int ledgerRows = 0;
    QString text() const;
};

// Fills the new company in `folder` with a believable cooperative; the same
// seed gives the same company.
bool fillDemoCompany(const QString &folder, uint32_t seed, Messages &messages,
                     DemoSummary *summary);

} // namespace newcompany
