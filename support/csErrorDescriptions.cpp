// Texts of the error codes the suite reports, worded as the original
// platform's message tables word them (English). There are no message tables
// to ask here, so the library carries the ones its callers meet.
#include "support/csSystem.h"

#include <algorithm>
#include <array>
#include <span>

namespace cs {

namespace {

struct ErrorText {
    qint32 code;
    const char *text;
};

constexpr bool byCode(const ErrorText &a, const ErrorText &b)
{
    return a.code < b.code;
}

constexpr qint32 hresult(quint32 value)
{
    return qint32(value);
}

// Sorted by code (checked below); HRESULTs are negative and come first.
constexpr auto systemTexts = std::to_array<ErrorText>({
    {hresult(0x80004001), "Not implemented"},
    {hresult(0x80004002), "No such interface supported"},
    {hresult(0x80004003), "Invalid pointer"},
    {hresult(0x80004004), "Operation aborted"},
    {hresult(0x80004005), "Unspecified error"},
    {hresult(0x8000FFFF), "Catastrophic failure"},
    {hresult(0x80020003), "Member not found."},
    {hresult(0x80020005), "Type mismatch."},
    {hresult(0x80020006), "Unknown name."},
    {hresult(0x80020009), "Exception occurred."},
    {hresult(0x8002000A), "Out of present range."},
    {hresult(0x8002000E), "Invalid number of parameters."},
    {hresult(0x80040110), "Class does not support aggregation (or class object is remote)"},
    {hresult(0x80040154), "Class not registered"},
    {hresult(0x800401E4), "Invalid syntax"},
    {hresult(0x800401F0), "CoInitialize has not been called."},
    {hresult(0x800401F3), "Invalid class string"},
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {7, "The storage control blocks were destroyed."},
    {8, "Not enough storage is available to process this command."},
    {9, "The storage control block address is invalid."},
    {10, "The environment is incorrect."},
    {11, "An attempt was made to load a program with an incorrect format."},
    {12, "The access code is invalid."},
    {13, "The data is invalid."},
    {14, "Not enough storage is available to complete this operation."},
    {15, "The system cannot find the drive specified."},
    {16, "The directory cannot be removed."},
    {17, "The system cannot move the file to a different disk drive."},
    {18, "There are no more files."},
    {19, "The media is write protected."},
    {20, "The system cannot find the device specified."},
    {21, "The device is not ready."},
    {22, "The device does not recognize the command."},
    {23, "Data error (cyclic redundancy check)."},
    {24, "The program issued a command but the command length is incorrect."},
    {25, "The drive cannot locate a specific area or track on the disk."},
    {26, "The specified disk or diskette cannot be accessed."},
    {27, "The drive cannot find the sector requested."},
    {28, "The printer is out of paper."},
    {29, "The system cannot write to the specified device."},
    {30, "The system cannot read from the specified device."},
    {31, "A device attached to the system is not functioning."},
    {32, "The process cannot access the file because it is being used by another process."},
    {33, "The process cannot access the file because another process has locked a portion of the file."},
    {36, "Too many files opened for sharing."},
    {38, "Reached the end of the file."},
    {39, "The disk is full."},
    {50, "The request is not supported."},
    {53, "The network path was not found."},
    {54, "The network is busy."},
    {55, "The specified network resource or device is no longer available."},
    {59, "An unexpected network error occurred."},
    {64, "The specified network name is no longer available."},
    {65, "Network access is denied."},
    {67, "The network name cannot be found."},
    {80, "The file exists."},
    {82, "The directory or file cannot be created."},
    {85, "The local device name is already in use."},
    {86, "The specified network password is not correct."},
    {87, "The parameter is incorrect."},
    {89, "The system cannot start another process at this time."},
    {108, "The disk is in use or locked by another process."},
    {109, "The pipe has been ended."},
    {110, "The system cannot open the device or file specified."},
    {111, "The file name is too long."},
    {112, "There is not enough space on the disk."},
    {113, "No more internal file identifiers available."},
    {114, "The target internal file identifier is incorrect."},
    {117, "The IOCTL call made by the application program is not correct."},
    {118, "The verify-on-write switch parameter value is not correct."},
    {119, "The system does not support the command requested."},
    {120, "This function is not supported on this system."},
    {121, "The semaphore timeout period has expired."},
    {122, "The data area passed to a system call is too small."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {124, "The system call level is not correct."},
    {125, "The disk has no volume label."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {128, "There are no child processes to wait for."},
    {131, "An attempt was made to move the file pointer before the beginning of the file."},
    {132, "The file pointer cannot be set on the specified device or file."},
    {145, "The directory is not empty."},
    {147, "Not enough resources are available to process this command."},
    {148, "The path specified cannot be used at this time."},
    {155, "Cannot create another thread."},
    {160, "One or more arguments are not correct."},
    {161, "The specified path is invalid."},
    {164, "No more threads can be created in the system."},
    {167, "Unable to lock a region of a file."},
    {170, "The requested resource is in use."},
    {183, "Cannot create a file when that file already exists."},
    {186, "The flag passed is not correct."},
    {203, "The system could not find the environment option that was entered."},
    {206, "The filename or extension is too long."},
    {230, "The pipe state is invalid."},
    {231, "All pipe instances are busy."},
    {232, "The pipe is being closed."},
    {233, "No process is on the other end of the pipe."},
    {234, "More data is available."},
    {240, "The session was canceled."},
    {258, "The wait operation timed out."},
    {259, "No more data is available."},
    {266, "The copy functions cannot be used."},
    {267, "The directory name is invalid."},
    {288, "Attempt to release mutex not owned by caller."},
    {298, "Too many posts were made to a semaphore."},
    {299, "Only part of a ReadProcessMemory or WriteProcessMemory request was completed."},
    {300, "The oplock request is denied."},
    {487, "Attempt to access invalid address."},
    {534, "Arithmetic result exceeded 32 bits."},
    {995, "The I/O operation has been aborted because of either a thread exit or an application request."},
    {996, "Overlapped I/O event is not in a signaled state."},
    {997, "Overlapped I/O operation is in progress."},
    {998, "Invalid access to memory location."},
    {999, "Error performing inpage operation."},
    {1001, "Recursion too deep; the stack overflowed."},
    {1004, "Invalid flags."},
    {1009, "The configuration registry database is corrupt."},
    {1010, "The configuration registry key is invalid."},
    {1011, "The configuration registry key could not be opened."},
    {1012, "The configuration registry key could not be read."},
    {1013, "The configuration registry key could not be written."},
    {1014,
     "One of the files in the registry database had to be recovered by use of a log or alternate copy. The "
     "recovery was successful."},
    {1015,
     "The registry is corrupted. The structure of one of the files containing registry data is corrupted, or "
     "the system's memory image of the file is corrupted, or the file could not be recovered because the "
     "alternate copy or log was absent or corrupted."},
    {1016,
     "An I/O operation initiated by the registry failed unrecoverably. The registry could not read in, or write "
     "out, or flush, one of the files that contain the system's image of the registry."},
    {1017,
     "The system has attempted to load or restore a file into the registry, but the specified file is not in a "
     "registry file format."},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {1019, "System could not allocate the required space in a registry log."},
    {1020, "Cannot create a symbolic link in a registry key that already has subkeys or values."},
    {1021, "Cannot create a stable subkey under a volatile parent key."},
    {1150, "The specified program requires a newer version of Windows."},
    {1155, "No application is associated with the specified file for this operation."},
    {1168, "Element not found."},
    {1222, "The network is not present or not started."},
    {1223, "The operation was canceled by the user."},
    {1224, "The requested operation cannot be performed on a file with a user-mapped section open."},
    {1300, "Not all privileges or groups referenced are assigned to the caller."},
    {1314, "A required privilege is not held by the client."},
    {1400, "Invalid window handle."},
    {1401, "Invalid menu handle."},
    {1402, "Invalid cursor handle."},
    {1407, "Cannot find window class."},
    {1411, "Class does not exist."},
    {1413, "Invalid index."},
    {1450, "Insufficient system resources exist to complete the requested service."},
    {1455, "The paging file is too small for this operation to complete."},
    {1460, "This operation returned because the timeout period expired."},
    {1813, "The specified resource type cannot be found in the image file."},
    {1814, "The specified resource name cannot be found in the image file."},
    {1815, "The specified resource language ID cannot be found in the image file."},
    {10004, "A blocking operation was interrupted by a call to WSACancelBlockingCall."},
    {10013, "An attempt was made to access a socket in a way forbidden by its access permissions."},
    {10014, "The system detected an invalid pointer address in attempting to use a pointer argument in a call."},
    {10022, "An invalid argument was supplied."},
    {10024, "Too many open sockets."},
    {10035, "A non-blocking socket operation could not be completed immediately."},
    {10038, "An operation was attempted on something that is not a socket."},
    {10048, "Only one usage of each socket address (protocol/network address/port) is normally permitted."},
    {10049, "The requested address is not valid in its context."},
    {10050, "A socket operation encountered a dead network."},
    {10051, "A socket operation was attempted to an unreachable network."},
    {10053, "An established connection was aborted by the software in your host machine."},
    {10054, "An existing connection was forcibly closed by the remote host."},
    {10060,
     "A connection attempt failed because the connected party did not properly respond after a period of time, "
     "or established connection failed because connected host has failed to respond."},
    {10061, "No connection could be made because the target machine actively refused it."},
    {10064, "A socket operation failed because the destination host was down."},
    {10065, "A socket operation was attempted to an unreachable host."},
    {11001, "No such host is known."},
    {11002,
     "This is usually a temporary error during hostname resolution and means that the local server did not "
     "receive a response from an authoritative server."},
    {11004, "The requested name is valid, but no data of the requested type was found."},
});

constexpr auto winMMTexts = std::to_array<ErrorText>({
    {1, "Undefined external error."},
    {2, "A device ID has been used that is out of range for your system."},
    {3, "The driver was not enabled."},
    {4, "The specified device is already in use. Wait until it is free, and then try again."},
    {5, "The specified device handle is invalid."},
    {6, "There is no driver installed on your system."},
    {7,
     "There is not enough memory available for this task. Quit one or more applications to increase available "
     "memory, and then try again."},
    {8,
     "This function is not supported. Use the Capabilities function to determine which functions and messages the "
     "driver supports."},
    {9, "An error number was specified that is not defined in the system."},
    {10, "An invalid flag was passed to a system function."},
    {11, "An invalid parameter was passed to a system function."},
    {12, "Handle being used simultaneously on another thread (eg callback)."},
    {13, "Specified alias not found in WIN.INI."},
    {14, "The registry database is corrupt."},
    {15, "The specified registry key was not found."},
    {16, "The registry could not be opened or could not be read."},
    {17, "The registry could not be written to."},
    {18, "The specified registry key could not be deleted."},
    {19, "The specified registry key value could not be found."},
    {20, "The driver did not generate a valid OPEN callback."},
    {32,
     "The specified format is not supported or cannot be translated. Use the Capabilities function to determine "
     "the supported formats."},
    {33,
     "Cannot perform this operation while media data is still playing. Reset the device, or wait until the data "
     "is finished playing."},
    {34, "The wave header was not prepared. Use the Prepare function to prepare the header, and then try again."},
    {35, "Cannot open the device without using the WAVE_ALLOWSYNC flag. Use the flag, and then try again."},
    {64, "The MIDI header was not prepared. Use the Prepare function to prepare the header, and then try again."},
    {65,
     "Cannot perform this operation while media data is still playing. Reset the device, or wait until the data "
     "is finished playing."},
    {66,
     "A MIDI map was not found. There may be a problem with the driver, or the MIDIMAP.CFG file may be corrupt or "
     "missing."},
    {67,
     "The port is transmitting data to the device. Wait until the data has been transmitted, and then try "
     "again."},
    {68,
     "The current MIDI Mapper setup refers to a MIDI device that is not installed on the system. Use MIDI Mapper "
     "to edit the setup."},
    {69,
     "The current MIDI setup is damaged. Copy the original MIDIMAP.CFG file to the Windows SYSTEM directory, and "
     "then try again."},
    {257, "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
    {259, "The driver cannot recognize the specified command parameter."},
    {261, "The driver cannot recognize the specified command."},
    {262,
     "There is a problem with your media device. Make sure it is working correctly or contact the device "
     "manufacturer."},
    {263, "The specified device is not open or is not recognized by MCI."},
    {264,
     "Your system does not have enough memory for this task. Quit one or more applications to increase "
     "available memory, and then try again."},
    {265, "The device name is already being used as an alias by this application. Use a unique alias."},
    {267, "No command was specified."},
    {274, "The MCI device you are using does not support the specified command."},
    {275, "Cannot find the specified file. Make sure the path and filename are correct."},
    {276, "The device driver is not ready."},
    {277, "A problem occurred in initializing MCI. Try restarting Windows."},
    {282,
     "The file was not saved. Make sure your system has sufficient disk space or has an intact network "
     "connection."},
    {286,
     "A problem occurred in reading the specified file. Make sure the file is still present, or check your disk "
     "or network connection."},
    {287,
     "Cannot save the specified file. Make sure you have sufficient disk space or are still connected to the "
     "network."},
});

// WinInet's message table (its texts carry no final period).
constexpr auto winInetTexts = std::to_array<ErrorText>({
    {12001, "No more Internet handles can be allocated"},
    {12002, "The operation timed out"},
    {12003, "The server returned extended information"},
    {12004, "An internal error occurred in the Microsoft Internet extensions"},
    {12005, "The URL is invalid"},
    {12006, "The URL does not use a recognized protocol"},
    {12007, "The server name or address could not be resolved"},
    {12008, "A protocol with the required capabilities was not found"},
    {12009, "The option is invalid"},
    {12010, "The length is incorrect for the option type"},
    {12011, "The option value cannot be set"},
    {12012, "Microsoft Internet Extension support has been shut down"},
    {12013, "The user name was not allowed"},
    {12014, "The password was not allowed"},
    {12015, "The login request was denied"},
    {12016, "The requested operation is invalid"},
    {12017, "The operation has been canceled"},
    {12018, "The supplied handle is the wrong type for the requested operation"},
    {12019, "The handle is in the wrong state for the requested operation"},
    {12020, "The request cannot be made on a Proxy session"},
    {12021, "The registry value could not be found"},
    {12022, "The registry parameter is incorrect"},
    {12023, "Direct Internet access is not available"},
    {12024, "No context value was supplied"},
    {12025, "No status callback was supplied"},
    {12026, "There are outstanding requests"},
    {12027, "The information format is incorrect"},
    {12028, "The requested item could not be found"},
    {12029, "A connection with the server could not be established"},
    {12030, "The connection with the server was terminated abnormally"},
    {12031, "The connection with the server was reset"},
    {12032, "The action must be retried"},
    {12033, "The proxy request is invalid"},
    {12034, "User interaction is required to complete the operation"},
    {12036, "The handle already exists"},
    {12037, "The date in the certificate is invalid or has expired"},
    {12038, "The host name in the certificate is invalid or does not match"},
    {12039, "A redirect request will change a non-secure to a secure connection"},
    {12040, "A redirect request will change a secure to a non-secure connection"},
    {12041, "Mixed secure and non-secure connections"},
    {12042, "Changing to non-secure post"},
    {12043, "Data is being posted on a non-secure connection"},
    {12044, "A certificate is required to complete client authentication"},
    {12045, "The certificate authority is invalid or incorrect"},
    {12046, "Client authentication has not been correctly installed"},
    {12047, "An error has occurred in a Wininet asynchronous thread. You may need to restart"},
    {12048, "The protocol scheme has changed during a redirect operation"},
    {12049, "There are operations awaiting retry"},
    {12050, "The operation must be retried"},
    {12110, "There is already an FTP request in progress on this session"},
    {12111, "The FTP session was terminated"},
    {12112, "FTP Passive mode is not available"},
    {12150, "The requested header was not found"},
    {12151, "The server does not support the requested protocol level"},
    {12152, "The server returned an invalid or unrecognized response"},
    {12153, "The supplied HTTP header is invalid"},
    {12154, "The request for a HTTP header is invalid"},
    {12155, "The HTTP header already exists"},
    {12156, "The HTTP redirect request failed"},
    {12157, "An error occurred in the secure channel support"},
    {12158, "The file could not be written to the cache"},
    {12159, "The TCP/IP protocol is not installed properly"},
    {12160, "The HTTP request was not redirected"},
    {12161, "A cookie from the server must be confirmed by the user"},
    {12162, "A cookie from the server has been declined acceptance"},
    {12163, "The computer is disconnected from the network"},
    {12164, "The server is unreachable"},
    {12165, "The proxy server is unreachable"},
    {12166, "The proxy auto-configuration script is in error"},
    {12167, "Could not download the proxy auto-configuration script file"},
    {12168, "The HTTP redirect request must be confirmed by the user"},
    {12169, "The supplied certificate is invalid"},
    {12170, "The supplied certificate has been revoked"},
});

static_assert(std::is_sorted(systemTexts.begin(), systemTexts.end(), byCode));
static_assert(std::is_sorted(winMMTexts.begin(), winMMTexts.end(), byCode));
static_assert(std::is_sorted(winInetTexts.begin(), winInetTexts.end(), byCode));

QString lookUp(std::span<const ErrorText> table, qint32 code)
{
    const auto it = std::lower_bound(table.begin(), table.end(), ErrorText {code, nullptr}, byCode);
    return it != table.end() && it->code == code ? QString::fromLatin1(it->text) : QString();
}

// A module name as the tables know it: no folder, lower case, no ".dll".
QString moduleKey(const QString &moduleName)
{
    QString key = moduleName.trimmed();
    key = key.mid(std::max(key.lastIndexOf(QLatin1Char('/')), key.lastIndexOf(QLatin1Char('\\'))) + 1).toLower();
    if (key.endsWith(QLatin1String(".dll")))
        key.chop(4);
    return key;
}

} // namespace

QString csGetAPIErrorDescription(qint32 code)
{
    // A COM result of the Win32 facility carries a system error in its low word.
    if ((quint32(code) & 0xFFFF0000u) == 0x80070000u)
        return lookUp(systemTexts, qint32(quint32(code) & 0xFFFFu));
    return lookUp(systemTexts, code);
}

QString csGetWinMMErrorDescription(qint32 code)
{
    return lookUp(winMMTexts, code);
}

QString csGetModuleErrorDescription(const QString &moduleName, qint32 code)
{
    if (moduleKey(moduleName) == QLatin1String("wininet"))
        return lookUp(winInetTexts, code);
    return {};
}

} // namespace cs
