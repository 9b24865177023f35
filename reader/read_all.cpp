// PLACEHOLDER: to be replaced by the reader.
#include "app/application.h"
void mapp::OnRWMI() {}
CWMI::CWMI() {}
CWMI::~CWMI() {}
void CWMI::wait_for_worker() {}
