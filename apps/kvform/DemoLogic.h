#pragma once
// The demo form's own code: its gauge shows how much of the customer record is filled. kvform
// links no control, so the logic reaches the fields and the gauge by name, as a script would.

class QObject;

namespace host {
class Form;
}

namespace kvform {

// For the embedded demo form: keeps the gauge "pbCadastro" at the share of the record filled,
// where every required field counts and an optional one only once it holds text. Runs once now
// and again on each field's Change; a form without that gauge is left alone.
void attachDemoLogic(host::Form& form);

} // namespace kvform
