// The current colour: held as decimal text in the three component fields, shown
// in the swatch and, in the chosen text form, in the value field.
#include "mainwindow/main_window.h"

std::int32_t MainWindow::PackRgb(const RgbBytes& components) const { return ::PackRgb(components); }

void MainWindow::ShowSwatch() {
  Swatch.SetBackColor(static_cast<COLORREF>(
      PackComponents(FieldToInteger(RedField.Text()), FieldToInteger(GreenField.Text()), FieldToInteger(BlueField.Text()))));
}

void MainWindow::ShowColour(std::int32_t colour) {
  if (colour < 0) return;
  Components c = SplitColour(colour);
  RedField.SetText(DecimalText(c.red));
  GreenField.SetText(DecimalText(c.green));
  BlueField.SetText(DecimalText(c.blue));
  Swatch.SetBackColor(static_cast<COLORREF>(colour));
  ShowSwatch();
  RefreshValueField();
}

std::int32_t MainWindow::CurrentColour() const {
  return PackComponents(FieldToInteger(RedField.Text()), FieldToInteger(GreenField.Text()), FieldToInteger(BlueField.Text()));
}

// The form is read from the option buttons at each use; nothing mirrors it.
std::wstring MainWindow::ValueText(COLORREF colour) const {
  const TextForm form = VbFormOption.Value() ? TextForm::Vb : DecimalFormOption.Value() ? TextForm::Decimal : TextForm::Web;
  return FormatColour(static_cast<std::int32_t>(colour & 0xFFFFFF), form);
}

std::wstring MainWindow::ValueFieldText() const { return ValueText(static_cast<COLORREF>(CurrentColour())); }

// Writing a different text raises this handler again inside the write; the
// nested run writes the same text, which raises nothing, and the chain ends.
void MainWindow::RefreshValueField() { ValueField.SetText(ValueFieldText()); }
