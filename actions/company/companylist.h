#pragma once

#include <QString>
#include <vector>

// The companies under DataPath, as the launcher offers them.
namespace companylist {

struct Listed {
    QString folder;  // under DataPath
    QString unvan;   // the cooperative's name, empty when it has none
    QString server;  // the server's address; empty for the folder's own files
    QString problem; // why the name could not be read, else empty
};

// Every folder under `dataPath` that holds a company (its xdata.dat, or a
// korvane.dat naming a server), by folder name. Nothing is written to them.
std::vector<Listed> under(const QString &dataPath);

} // namespace companylist
