#pragma once

class QComboBox;

namespace Provinces {

// Sets up a province drop-down box of a card: the province codes as its items, no code
// typed added to them, sixteen shown at a time; and the focus rule: a box about to take
// the focus has no item selected, while the code typed or loaded stays (its change
// signals blocked meanwhile, so the card sees no edit).
void setUpBox(QComboBox *box);

} // namespace Provinces
