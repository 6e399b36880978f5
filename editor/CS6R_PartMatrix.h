#pragma once
// The part selectors: a borderless row of twenty push-like radio buttons
// (parts 1 to 16, AD, CL, PLG1 and PLG2) above the part strip. A click points
// the strip at that part and makes it reload from the memory, also when the
// selector was pressed already. The matrix holds no parameter, reads no
// memory and sends nothing.
//
// Thread: the user-interface thread only.

#include "framework/TemplateDialog.h"

class QPushButton;

namespace cs6 {

class CS6R_PerfPartMainEdit;

class CS6R_PartMatrix : public TemplateDialog {
public:
    // A child of parent that drives strip (not owned, must outlive the
    // matrix). The selector of the strip's current part starts pressed.
    CS6R_PartMatrix(QWidget* parent, CS6R_PerfPartMainEdit* strip);

    // The selector button with this id (part_matrix::Id), or null.
    QPushButton* Selector(int id) const;
    // The part index a selector gives; -1 for an id that is no selector.
    static int PartIndexOf(int id);

protected:
    CS6R_PerfPartMainEdit* partStrip;

private:
    void OnSelector(int id);
};

} // namespace cs6
