// The current colour: held as decimal text in the three component fields, shown
// in the swatch and, in the chosen text form, in the value field.
#include "mainwindow/form1.h"

std::int32_t Form1::PackRgb(const RgbBytes& components) const { return ::PackRgb(components); }

void Form1::ShowSwatch() {
  Picture1.SetBackColor(static_cast<COLORREF>(
      PackComponents(FieldToInteger(Text1.Text()), FieldToInteger(Text2.Text()), FieldToInteger(Text3.Text()))));
}

void Form1::zhuan(std::int32_t colour) {
  if (colour < 0) return;
  Components c = SplitColour(colour);
  Text1.SetText(DecimalText(c.red));
  Text2.SetText(DecimalText(c.green));
  Text3.SetText(DecimalText(c.blue));
  Picture1.SetBackColor(static_cast<COLORREF>(colour));
  ShowSwatch();
  txthex_Change();
}

std::int32_t Form1::CurrentColour() const {
  return PackComponents(FieldToInteger(Text1.Text()), FieldToInteger(Text2.Text()), FieldToInteger(Text3.Text()));
}

// The form is read from the option buttons at each use; nothing mirrors it.
std::wstring Form1::ValueText(COLORREF colour) const {
  const TextForm form = Option1.Value() ? TextForm::Vb : Option2.Value() ? TextForm::Decimal : TextForm::Web;
  return FormatColour(static_cast<std::int32_t>(colour & 0xFFFFFF), form);
}

std::wstring Form1::ValueFieldText() const { return ValueText(static_cast<COLORREF>(CurrentColour())); }

// Writing a different text raises this handler again inside the write; the
// nested run writes the same text, which raises nothing, and the chain ends.
void Form1::txthex_Change() { txthex.SetText(ValueFieldText()); }
