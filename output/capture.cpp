#include "output/capture.h"

namespace vrk {

void TokenCapture::emit_or_capture(FragmentList& fragments, const string& value, bool overflowed) {
  if (name_switch) {
    captured_name = value;
  } else {
    fragments.append(value);
  }
  if (base_switch) {
    base_text = value;
    base_captured = true;
    base_overflowed = overflowed;
  }
  if (count_switch) {
    count_text = value;
    count_captured = true;
    count_overflowed = overflowed;
  }
}

void TokenCapture::begin_replicator_base() {
  base_switch = true;
  count_switch = false;
  base_captured = false;
  count_captured = false;
}

void TokenCapture::begin_replicator_count() {
  base_switch = false;
  count_switch = true;
}

}  // namespace vrk
