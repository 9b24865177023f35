// Construction and destruction of the two controls the application object
// owns; their windows belong to the views.
#include "base/log.h"
#include "ui/result_list.h"
#include "ui/tree_control.h"

mtrc::mtrc() { write_log("mtrc::mtrc () OK ...\n"); }
mtrc::~mtrc() { write_log("mtrc::~mtrc () OK ...\n"); }

mbox::mbox() { write_log("mbox::mbox () OK ...\n"); }
mbox::~mbox() { write_log("mbox::~mbox () OK ...\n"); }
