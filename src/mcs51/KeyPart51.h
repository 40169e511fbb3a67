// A board's part made of keys (single keys, a keypad): its keys' contacts, bouncing when asked,
// drive the pins through the part's own wiring.
#pragma once

#include "mcs51/BoardPart51.h"
#include "mcs51/Contacts51.h"

namespace mcs51 {

class CKeyPart51 : public CBoardPart51 {
public:
    explicit CKeyPart51(size_t keys) : m_contacts(keys) {}

    void OnCycle(uint64_t cycle) override;
    void Hold(unsigned key, bool down) override;
    void SetBounce(bool on) override { m_contacts.SetBounce(on); }

protected:
    void Follow(uint64_t) override { Apply(); }
    bool Closed(unsigned key) const { return m_contacts.Closed(key); }
    // Puts the contacts as they are onto the pins.
    virtual void Apply() = 0;

private:
    CContacts51 m_contacts;
};

}  // namespace mcs51
