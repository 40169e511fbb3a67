// Root of the framework's class tree: objects that are not copied, with a virtual destructor,
// so that dynamic_cast works on every framework object.
#pragma once

class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;
};
