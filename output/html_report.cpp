// PLACEHOLDER
#include "app/application.h"
void mapp::OnSWMI() {}
