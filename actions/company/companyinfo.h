#pragma once

#include "core/company.h"

#include <QStringList>
#include <array>
#include <optional>
#include <utility>
#include <vector>

// What an office without the suite sets up for its company ("Şirket
// Bilgileri"): the cooperative's name, the money decimals and the names of
// the currency and its hundredths, kept as the suite keeps them in genel,
// and the receipt's three header lines in korvane.dat.
namespace companyinfo {

constexpr int NameLength = 60;     // genel.tanim
constexpr int CurrencyLength = 20; // "TL", "Kr", "Lira"
constexpr int HeaderLength = 60;   // a line of the receipt's head
constexpr int MaxDecimals = 4;     // an amount is kept in ten-thousandths

struct Info {
    QString unvan;
    int tlonda = 2;
    QString tlnick = QStringLiteral("TL");
    QString krnick = QStringLiteral("Kr");
    // The receipt's head: the cooperative's name, its address, its tax
    // office and number.
    std::array<QString, 3> baslik{};
    // Where the tables are: empty for the company's own files, else the
    // server's address. Shown, never set here.
    QString server{};

    bool operator==(const Info &) const = default;
};

// What the company holds now; a missing row reads as the suite reads it
// (0 decimals, empty names), the first header line as the name.
Info load(Company &company);

// Stores, in one action, what differs between `edited` and `loaded`, and
// takes the money settings into the open company. The decimals are never
// lowered below an amount on file (its kuruş would no longer show). The
// name and the money settings are stored in one action or not at all; the
// header lines after them. False after its message.
[[nodiscard]] bool save(Company &company, const Info &loaded, const Info &edited);

// unvan, tlonda, tlnick, krnick, baslik1, baslik2, baslik3.
QStringList keys();
// Sets one field from text as the screen's field would take it; the
// refusal when it would not.
std::optional<QString> apply(Info &info, const QString &key, const QString &value);
// Each in turn; the first refusal, and `info` as far as it got.
std::optional<QString> apply(Info &info, const std::vector<std::pair<QString, QString>> &values);

QString asText(const Info &info);
QString asJson(const Info &info);

} // namespace companyinfo
