#pragma once

#include "base/messages.h"
#include "data/database.h"

#include <QString>
#include <cstdint>

// koop-cli init: a new company folder with the suite's xdata.dat, an empty
// korvane.dat and the program's dalun.dat, optionally filled with a demo
// cooperative. Nothing is created unless everything is; an existing company
// is never touched. With a server the folder holds korvane.dat naming it,
// and the tables are made in the server's two schemas instead.
namespace cli {

struct InitOptions {
    QString folder;
    bool demo = false;
    uint32_t seed = 1;
    std::optional<data::ServerAddress> server;
};

// koop-cli copy-to-server: the rows of a company's SQLite files, ids
// included, into new schemas on the server, counts checked; then its
// korvane.dat names the server. Nothing is left on the server unless all of
// it is copied. Returns the exit code.
int copyToServer(const QString &folder, const data::ServerAddress &server, Messages &messages);

// "HOST[:PORT]/DATABASE[?user=U&xdata=S&dalun=S]"; nothing when malformed.
std::optional<data::ServerAddress> parseServer(const QString &text);

// Returns the process exit code; every failure has shown its message.
int initCompany(const InitOptions &options, Messages &messages);

} // namespace cli
