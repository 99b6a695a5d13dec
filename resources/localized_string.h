#pragma once

// The text of a string from the program's own string table, in the language the resource
// loader picks, or "MISSING LOCALIZATION". Read-only, valid for the life of the process.
const wchar_t* LoadLocalizedString(unsigned int id);
