#include "app/TForm1.h"

void TForm1::ParamsToControls() {}

void TForm1::ControlsToParams() {}
