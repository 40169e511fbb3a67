// Root of the framework's class tree: a virtual destructor, so run-time type queries
// (dynamic_cast) work on every framework object.
#pragma once

class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    template <typename T> bool IsKindOf() const { return dynamic_cast<const T*>(this) != nullptr; }
};
