#pragma once

#include <QString>

#include <optional>

// The folder of shared material beside the project (real shop files and their expected
// contents), or nothing where it is absent, as on a user's machine.
std::optional<QString> sharedMaterialDir();
