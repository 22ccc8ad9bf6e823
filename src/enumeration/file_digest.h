// The SHA-256 of a file, through the system's cryptography library, so that a report can name
// exactly which build of a DLL ran.
#pragma once

#include <string>

// The file's SHA-256 in lowercase hexadecimal and its size in bytes. False where the file cannot
// be read or hashed, with error saying why in a line.
bool FileSha256(const std::string& path, std::string* digest, unsigned long long* size, std::string* error);
