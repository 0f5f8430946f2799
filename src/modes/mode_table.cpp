#include "modes/mode_machine.h"
#include "modes/mode_operations.h"

namespace modes {

// Indexed by mode number: Init, Proc, Exit, Display.
const ModeOps g_ModeTable[kModeCount] = {
    /* MODE_MAIN                */ {NoModeInit, Mode_Main_Proc, NoModeExit, Mode_Main_Display},
    /* MODE_CONTACT_LIST        */ {Mode_ContactList_Init, Mode_ContactList_Proc, NoModeExit, Mode_ContactList_Display},
    /* MODE_RINGING             */ {Mode_Ringing_Init, Mode_Ringing_Proc, Mode_Ringing_Exit, Mode_Ringing_Display},
    /* MODE_TALKING             */ {Mode_Talking_Init, Mode_Talking_Proc, Mode_Talking_Exit, Mode_Talking_Display},
    /* MODE_NUM_DIAL            */ {Mode_NumDial_Init, Mode_NumDial_Proc, NoModeExit, Mode_NumDial_Display},
    /* MODE_SETTING_MENU        */ {Mode_SettingMenu_Init, Mode_SettingMenu_Proc, NoModeExit, Mode_Menu_Display},
    /* MODE_HISTORY_MENU        */ {Mode_HistoryMenu_Init, Mode_HistoryMenu_Proc, NoModeExit, Mode_Menu_Display},
    /* MODE_HISTORY_INCOMING    */ {Mode_HistoryIncoming_Init, Mode_HistoryIncoming_Proc, NoModeExit, Mode_HistoryIncoming_Display},
    /* MODE_HISTORY_OUTGOING    */ {Mode_HistoryOutgoing_Init, Mode_HistoryOutgoing_Proc, NoModeExit, Mode_HistoryOutgoing_Display},
    /* MODE_HISTORY_MISSEDCALL  */ {Mode_HistoryMissedcall_Init, Mode_HistoryMissedcall_Proc, NoModeExit, Mode_HistoryMissedcall_Display},
    /* MODE_HISTORY_VMAIL       */ {Mode_HistoryVMail_Init, Mode_HistoryVMail_Proc, NoModeExit, Mode_HistoryVMail_Display},
    /* MODE_CONTACT_DETAIL      */ {Mode_ContactDetail_Init, Mode_ContactDetail_Proc, NoModeExit, Mode_ContactDetail_Display},
    /* MODE_HISTORY_DETAIL      */ {Mode_HistoryDetail_Init, Mode_HistoryDetail_Proc, NoModeExit, Mode_HistoryDetail_Display},
    /* MODE_EMPTY               */ {NoModeInit, NoModeProc, NoModeExit, NoModeDisplay},
    /* MODE_VOLUME_SETTING      */ {NoModeInit, Mode_VolumeSetting_Proc, NoModeExit, Mode_VolumeSetting_Display},
    /* MODE_CONFERENCE          */ {Mode_Conference_Init, Mode_Conference_Proc, Mode_Conference_Exit, Mode_Conference_Display},
    /* MODE_UNCONNECTED         */ {NoModeInit, NoModeProc, NoModeExit, Mode_Unconnected_Display},
    /* MODE_BALANCE             */ {NoModeInit, Mode_Balance_Proc, NoModeExit, Mode_Balance_Display},
    /* MODE_VOICEMAIL_PLAY      */ {NoModeInit, Mode_VoiceMailPlay_Proc, NoModeExit, Mode_VoiceMailPlay_Display},
    /* MODE_VOICEMAIL_PLAY_END  */ {NoModeInit, Mode_VoiceMailPlayEnd_Proc, NoModeExit, Mode_VoiceMailPlayEnd_Display},
    /* MODE_SYS_CONFIRM         */ {NoModeInit, Mode_SysConfirm_Proc, NoModeExit, Mode_SysConfirm_Display},
};

void NoModeInit() {}
void NoModeProc(unsigned) {}
void NoModeExit() {}
void NoModeDisplay() {}

}  // namespace modes
