// PLACEHOLDER: to be replaced by the query file reader.
#include "app/application.h"
void mapp::OnRCFG() {}
