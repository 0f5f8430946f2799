// Operations of the modes whose behaviour is not built yet. Each does
// nothing, as a slot without an operation does; the modes' own files replace
// them one by one.

#include "modes/mode_operations.h"

namespace modes {

void Mode_ContactList_Init() {}
void Mode_ContactList_Proc(unsigned) {}
void Mode_ContactList_Display() {}
void Mode_NumDial_Init() {}
void Mode_NumDial_Proc(unsigned) {}
void Mode_NumDial_Display() {}
void Mode_SettingMenu_Init() {}
void Mode_SettingMenu_Proc(unsigned) {}
void Mode_Menu_Display() {}
void Mode_HistoryMenu_Init() {}
void Mode_HistoryMenu_Proc(unsigned) {}
void Mode_HistoryIncoming_Init() {}
void Mode_HistoryIncoming_Proc(unsigned) {}
void Mode_HistoryIncoming_Display() {}
void Mode_HistoryOutgoing_Init() {}
void Mode_HistoryOutgoing_Proc(unsigned) {}
void Mode_HistoryOutgoing_Display() {}
void Mode_HistoryMissedcall_Init() {}
void Mode_HistoryMissedcall_Proc(unsigned) {}
void Mode_HistoryMissedcall_Display() {}
void Mode_HistoryVMail_Init() {}
void Mode_HistoryVMail_Proc(unsigned) {}
void Mode_HistoryVMail_Display() {}
void Mode_ContactDetail_Init() {}
void Mode_ContactDetail_Proc(unsigned) {}
void Mode_ContactDetail_Display() {}
void Mode_HistoryDetail_Init() {}
void Mode_HistoryDetail_Proc(unsigned) {}
void Mode_HistoryDetail_Display() {}
void Mode_VolumeSetting_Proc(unsigned) {}
void Mode_VolumeSetting_Display() {}
void Mode_Conference_Init() {}
void Mode_Conference_Proc(unsigned) {}
void Mode_Conference_Exit() {}
void Mode_Conference_Display() {}
void Mode_Unconnected_Display() {}
void Mode_Balance_Proc(unsigned) {}
void Mode_Balance_Display() {}
void Mode_VoiceMailPlay_Proc(unsigned) {}
void Mode_VoiceMailPlay_Display() {}
void Mode_VoiceMailPlayEnd_Proc(unsigned) {}
void Mode_VoiceMailPlayEnd_Display() {}
void Mode_SysConfirm_Proc(unsigned) {}
void Mode_SysConfirm_Display() {}

}  // namespace modes
