#pragma once

#include "core/company.h"
#include "data/koopdata.h"

#include <optional>

// The settings row as "Yönetim Ayar" edits it: the captions and accounting
// codes of the five dues heads, the monthly surcharge rate, the grace days
// and the last receipt number.
namespace settingsform {

// The limits of the screen's fields; the command line takes the same.
constexpr int CaptionLength = 20;
constexpr int AccountLength = 15;
constexpr double FaizMax = 99;
constexpr int FaizDecimals = 2;
constexpr int ToleransMax = 99999;
constexpr int FisnoMax = 9999999;

// The row, or nothing when it has not been saved yet. Its fisno is the last
// receipt number the cash desk issued.
std::optional<data::Settings> load(Company &company);

// Stores, in one action, the fields that differ between `edited` and what
// was `loaded` (every field when nothing was), over the row as it stands
// then: another desk's changes to the other fields stay. Says "Ayarlar
// Kaydedilemiyor.." and keeps the stored values when it fails.
// The receipt number is never moved back over a number issued, nor over one
// issued since it was loaded: the rest is stored, the refusal said, and the
// result is false.
bool save(Company &company, const std::optional<data::Settings> &loaded,
          const data::Settings &edited);

// The keys the command line sets: ack1..ack5, muh1..muh5, faiz, tolerans, fisno.
QStringList keys();
// Sets one field from text as the screen's field would take it; the
// refusal to show when it would not.
std::optional<QString> apply(data::Settings &settings, const QString &key, const QString &value);

// The row as text and as JSON (`kayitli` false and empty fields without one).
QString asText(const std::optional<data::Settings> &settings);
QString asJson(const std::optional<data::Settings> &settings);

} // namespace settingsform
