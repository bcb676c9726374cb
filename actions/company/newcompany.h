#pragma once

#include "base/messages.h"
#include "data/database.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// A new company folder with the suite's xdata.dat, korvane.dat and the
// program's dalun.dat, optionally filled with a demo cooperative, and set
// up with its name, money settings and receipt head. Nothing is created
// unless everything is; an existing company is never touched. With a server
// the folder holds korvane.dat naming it, and the tables are made in the
// server's two schemas instead.
namespace newcompany {

struct Options {
    QString folder;
    bool demo = false;
    uint32_t seed = 1;
    std::optional<data::ServerAddress> server{};
    // Set-up fields (companyinfo::keys()) and their values, in order.
    std::vector<std::pair<QString, QString>> setup{};
};

// What a company of an office's own starts with: kuruş shown, the lira and
// the kuruş named on receipts.
std::vector<std::pair<QString, QString>> officeDefaults();

// Why `name` cannot be a company's folder right under DataPath, as the
// suite names it on its command line: one word, no separator, not starting
// with "." or "-". Nothing when it can.
std::optional<QString> folderNameRefusal(const QString &name);

// What to tell the clerk ("Şirket yaratıldı: …"), or nothing after the
// message of what went wrong.
std::optional<QString> create(const Options &options, Messages &messages);

// The rows of a company's SQLite files, ids included, into new schemas on
// the server, counts checked; then its korvane.dat names the server.
// Nothing is left on the server unless all of it is copied. What to tell,
// or nothing after the message.
std::optional<QString> copyToServer(const QString &folder, const data::ServerAddress &server,
                                    Messages &messages);

// "HOST[:PORT]/DATABASE[?user=U&xdata=S&dalun=S]"; nothing when malformed.
std::optional<data::ServerAddress> parseServer(const QString &text);

} // namespace newcompany
