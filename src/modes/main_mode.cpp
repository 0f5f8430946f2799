#include "app/settings.h"
#include "modes/mode_operations.h"

namespace modes {

// The setting is read at every key: a handset without display gets the
// no-display key map.
void Mode_Main_Proc(unsigned key) {
    if (app::g_Settings.VAL_ENABLE_LCM == 0) {
        Mode_Main_NoLCD_Proc(key);
    } else {
        Mode_Main_LCD_Proc(key);
    }
}

}  // namespace modes
