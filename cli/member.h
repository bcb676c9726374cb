#pragma once

#include "cli/command.h"

#include <vector>

// koop-cli member DIR add|edit|show|delete CODE [--FIELD VALUE ...]: one
// member card as "Üye Kartları" keeps it, an option per card field.
int runMember(const cli::Call &call);

// The card fields' options, named as the fields.
std::vector<cli::Option> memberOptions();
