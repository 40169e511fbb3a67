// Registry keys read whole and put back as they were.
#include "RegistryKeepsake.h"

#include <algorithm>

namespace {
template <typename Item, typename Name> bool Contains(const std::vector<Item>& items, const std::string& name, Name nameOf)
{
    return std::any_of(items.begin(), items.end(), [&](const Item& item) { return nameOf(item) == name; });
}
}

void RegistryKeepsake::Keep(HKEY root, const std::string& path, CRegistryKey::Lifetime lifetime)
{
    m_kept.push_back({root, path, lifetime, Read(root, path)});
}

bool RegistryKeepsake::Restore() const
{
    bool restored = true;
    for (const Kept& kept : m_kept)
        restored = Write(kept.root, kept.path, kept.lifetime, kept.image) && restored;
    return restored;
}

RegistryKeepsake::Image RegistryKeepsake::Read(HKEY root, const std::string& path)
{
    Image image;
    CRegistryKey key(root);
    if (!key.Open(path, KEY_READ))
        return image;
    image.exists = true;
    for (const std::string& name : key.ValueNames()) {
        Value value{name, REG_NONE, {}};
        if (key.GetRaw(name, value.type, value.bytes))
            image.values.push_back(std::move(value));
    }
    for (const std::string& name : key.SubKeyNames())
        image.subKeys.emplace_back(name, Read(root, path + "\\" + name));
    return image;
}

// Keys that were there are changed in place, so they keep the lifetime they had.
bool RegistryKeepsake::Write(HKEY root, const std::string& path, CRegistryKey::Lifetime lifetime, const Image& image)
{
    if (!image.exists)
        return CRegistryKey::DeleteTree(root, path);
    CRegistryKey key(root, lifetime);
    if (!key.CreateFromRoot(path))
        return false;
    bool written = true;
    for (const std::string& name : key.ValueNames()) {
        if (!Contains(image.values, name, [](const Value& v) { return v.name; }))
            written = key.DeleteValue(name) && written;
    }
    for (const Value& value : image.values)
        written = key.SetRaw(value.name, value.type, value.bytes) && written;
    for (const std::string& name : key.SubKeyNames()) {
        if (!Contains(image.subKeys, name, [](const auto& sub) { return sub.first; }))
            written = CRegistryKey::DeleteTree(root, path + "\\" + name) && written;
    }
    for (const auto& [name, subImage] : image.subKeys)
        written = Write(root, path + "\\" + name, lifetime, subImage) && written;
    return written;
}
