#pragma once

#include <QtGlobal>

namespace tessera {

/// Extended error codes of the common dialogs, as the platform's
/// CommDlgExtendedError reports them; 0 (no member) means no error, which is
/// also what a cancelled dialog leaves in LastDlgError. The names keep the
/// platform library's spelling.
enum CommonDialogErrorCodes : qint32 {
    cderrDialogFalure = 65535,
    cderrStructSize = 1,
    cderrInitialization = 2,
    cderrNoTemplate = 3,
    cderrNoHInstance = 4,
    cderrLoadStrFailure = 5,
    cderrFindResFailure = 6,
    cderrLoadResFailure = 7,
    cderrLockResFailure = 8,
    cderrMemAllocFailure = 9,
    cderrMemLockFailure = 10,
    cderrNoHook = 11,
    cderrRegisterMsgFail = 12,
    pderrSetupFailure = 4097,
    pderrParseFailure = 4098,
    pderrRetDefFailure = 4099,
    pderrLoadDrvFailure = 4100,
    pderrGetDevModeFailure = 4101,
    pderrInitFaliure = 4102,
    pderrNoDevices = 4103,
    pderrNoDefaultPrn = 4104,
    pderrDNDMMismatch = 4105,
    pderrCreateICFailure = 4106,
    pderrPrinterNotFound = 4107,
    pderrDefaultDifferent = 4108,
    cferrNoFonts = 8193,
    cferrMaxLessThanMin = 8194,
    fnerrSubclassFailure = 12289,
    fnerrInvalidFileName = 12290,
    fnerrBufferTooSmall = 12291,
    frerrBufferLegthZero = 16385,
};

} // namespace tessera
