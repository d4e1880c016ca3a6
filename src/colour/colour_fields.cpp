#include "colour/colour_fields.h"

#include <utility>

#include "colour/colour_value.h"

ColourFields::ColourFields(Controls controls) : controls_(controls) {
  controls_.value.Change = [this] { RefreshValueField(); };
}

void ColourFields::ShowComponents(COLORREF colour) {
  const Components c = SplitColour(static_cast<std::int32_t>(colour & 0xFFFFFF));
  controls_.red.SetText(DecimalText(c.red));
  controls_.green.SetText(DecimalText(c.green));
  controls_.blue.SetText(DecimalText(c.blue));
}

// A value beyond the colours (CLR_INVALID, a negative number passed on) is no colour: nothing
// changes.
void ColourFields::Show(COLORREF colour) {
  if (colour > 0xFFFFFF) return;
  ShowComponents(colour);
  controls_.swatch.SetBackColor(colour);
  RefreshSwatch();
  RefreshValueField();
}

void ColourFields::RefreshSwatch() { controls_.swatch.SetBackColor(Current()); }

COLORREF ColourFields::Current() const {
  return static_cast<COLORREF>(PackComponents(FieldToInteger(controls_.red.Text()),
                                              FieldToInteger(controls_.green.Text()),
                                              FieldToInteger(controls_.blue.Text())));
}

std::wstring ColourFields::ValueText(COLORREF colour) const {
  const TextForm form = controls_.vbForm.Value()        ? TextForm::Vb
                        : controls_.decimalForm.Value() ? TextForm::Decimal
                                                        : TextForm::Web;
  return FormatColour(static_cast<std::int32_t>(colour & 0xFFFFFF), form);
}

// Writing a different text runs this again inside the write; the nested run writes the same
// text, which changes nothing, and the chain ends.
void ColourFields::RefreshValueField() { controls_.value.SetText(ValueText(Current())); }

ColourFields::Shown ColourFields::Snapshot() const {
  return {controls_.red.Text(), controls_.green.Text(), controls_.blue.Text(), controls_.value.Text(),
          controls_.swatch.BackColor()};
}

void ColourFields::Restore(const Shown& shown) {
  controls_.red.SetText(shown.red);
  controls_.green.SetText(shown.green);
  controls_.blue.SetText(shown.blue);
  // Its refresh would write today's form of the colour, not the text that showed.
  auto refresh = std::exchange(controls_.value.Change, nullptr);
  controls_.value.SetText(shown.value);
  controls_.value.Change = std::move(refresh);
  controls_.swatch.SetBackColor(shown.swatch);
}
