// A library that the sound manager must refuse: built once claiming an older
// version with every function of the table, once with the right version but
// without BASS_ChannelIsActive.
#include <cstdint>

#define ZEL_STUB(name) \
    extern "C" __attribute__((visibility("default"))) int32_t name() { return 0; }

extern "C" __attribute__((visibility("default"))) uint32_t BASS_GetVersion() { return ZEL_STALE_VERSION; }
ZEL_STUB(BASS_Init)
ZEL_STUB(BASS_GetDevice)
ZEL_STUB(BASS_GetDeviceDescription)
ZEL_STUB(BASS_ErrorGetCode)
ZEL_STUB(BASS_Set3DFactors)
ZEL_STUB(BASS_Set3DPosition)
ZEL_STUB(BASS_Apply3D)
ZEL_STUB(BASS_Free)
ZEL_STUB(BASS_SetConfig)
ZEL_STUB(BASS_StreamCreateFile)
ZEL_STUB(BASS_StreamFree)
ZEL_STUB(BASS_ChannelSetFlags)
ZEL_STUB(BASS_ChannelSetAttributes)
ZEL_STUB(BASS_ChannelSet3DAttributes)
ZEL_STUB(BASS_ChannelSet3DPosition)
ZEL_STUB(BASS_ChannelPlay)
ZEL_STUB(BASS_ChannelStop)
#if ZEL_STALE_COMPLETE
ZEL_STUB(BASS_ChannelIsActive)
#endif
