// Registry keys that the bench's runs of Korvane may change (the compiler settings it sets
// for the capture figure, the per-user profile, the shell registration), read whole before
// the first run and put back as they were afterwards.
#pragma once

#include "framework/RegistryKey.h"

#include <string>
#include <utility>
#include <vector>

class RegistryKeepsake {
public:
    // Reads the key at path below root now; a key that has to be made again for Restore is
    // made with the given lifetime.
    void Keep(HKEY root, const std::string& path, CRegistryKey::Lifetime lifetime);
    // Writes every kept key back as it was read and removes what was not there then (values,
    // subkeys, or the key itself). True when all of it could be done.
    bool Restore() const;

private:
    struct Value {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    struct Image {
        bool exists = false;
        std::vector<Value> values;
        std::vector<std::pair<std::string, Image>> subKeys;
    };
    struct Kept {
        HKEY root;
        std::string path;
        CRegistryKey::Lifetime lifetime;
        Image image;
    };

    static Image Read(HKEY root, const std::string& path);
    static bool Write(HKEY root, const std::string& path, CRegistryKey::Lifetime lifetime, const Image& image);

    std::vector<Kept> m_kept;
};
