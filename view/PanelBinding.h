// The one mapping between the record panel's controls and RecordValues: the record display
// shows each value through its row and the Update reads each control back through the same
// row.
#pragma once

#include "records/RecordValues.h"
#include "view/PanelLayout.h"

#include <cstddef>
#include <string>

namespace ledgrin {

enum class BindKind : std::uint8_t {
    Number, // an edit box showing an unsigned decimal
    Check,  // a check box
    Row,    // a drop-down list's selected row (-1: none)
    Text,   // an edit box's text
    Stat,   // edit box of stats[index]
    Second, // edit box of seconds[index]
};

struct PanelBinding {
    int controlId;
    BindKind kind;
    std::uint32_t RecordValues::*number = nullptr;
    bool RecordValues::*flag = nullptr;
    int RecordValues::*row = nullptr;
    std::string RecordValues::*text = nullptr;
    int index = 0;            // Stat, Second: which of the five
    std::size_t maxBytes = 0; // Text: the most the control gives back
    int onlyWith = -1;        // a PanelGroup: shown only for tables that show it, otherwise left as it was
    bool inverted = false;    // Check: checked when the value is false; shown, never read back
};

// Every bound control, in the order the display sets them.
const PanelBinding* PanelBindingsBegin();
const PanelBinding* PanelBindingsEnd();

struct PanelBindings {
    const PanelBinding* begin() const { return PanelBindingsBegin(); }
    const PanelBinding* end() const { return PanelBindingsEnd(); }
};

// Whether the display of a record of item table t sets the control of binding b.
bool ShownFor(const PanelBinding& b, TableIndex t);

// The value of a Number, Stat or Second binding, by reference.
std::uint32_t& NumberOf(const PanelBinding& b, RecordValues& v);

} // namespace ledgrin
