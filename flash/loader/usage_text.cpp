// The usage text of the loader: section heads and option names in bright white.
#include "flash/loader/console_out.h"

namespace flash {

namespace {

struct UsagePiece {
    bool head; // printed in bright white
    const char* text;
};

constexpr const char* kDotted1 =
    "         A string representing a number expressed in the internet standard\n";

constexpr UsagePiece kUsage[] = {
    {true, "NAME\n"},
    {false, "     x740flash  -  download and ip-configuration X740\n\n"},
    {true, "SYNTAX\n"},
    {false, "     x740flash [OPTION] FILES\n\n"},
    {true, "DESCRIPTION\n"},
    {false, "     Set IP-Configuration and download firmware to any X740-Morvelan-Controller\n"},
    {false, "     Following options are defined\n\n"},
    {true, "     /COM:"},
    {false, "Port\n"},
    {false, "         Portnumber of serialport to use for data transfer\n\n"},
    {true, "     /IPC:"},
    {false, "IP-Address\n"},
    {false, kDotted1},
    {false, "         (dotted) notation. (e.g. 10.10.12.6)\n"},
    {true, "     /SNC:"},
    {false, "Subnetmask\n"},
    {false, kDotted1},
    {false, "         (dotted) notation. (e.g. 255.255.0.0)\n"},
    {true, "     /GWC:"},
    {false, "Gateway\n"},
    {false, kDotted1},
    {false, "         (dotted) notation. (e.g. 10.10.254.254)\n"},
    {false, "         IPC,SNC,GWC can be used to set a temporary IPAdress for transmitting\n"},
    {false, "         files and configuration to the X740 Module\n\n"},
    {true, "     /IPD:"},
    {false, "IP-Address\n"},
    {false, kDotted1},
    {false, "         (dotted) notation. (e.g. 10.10.12.6)\n"},
    {true, "     /SND:"},
    {false, "Subnetmask\n"},
    {false, kDotted1},
    {false, "         (dotted) notation. (e.g. 255.255.0.0)\n"},
    {true, "     /GWD:"},
    {false, "Gateway\n"},
    {false, kDotted1},
    {false, "         (dotted) notation. (e.g. 10.10.254.254)\n"},
    {false, "         IPD,SND,GWD are the IP-Data the X740-Module will use in normal\n"},
    {false, "         operation mode\n\n"},
    {true, "     /FC\n"},
    {false, "         Instead of using parameters IPC,SNC and GWC, X740Flash will read file \n"},
    {false, "         ipc.cfg to set a temporary IPAdress for transmitting files to \n"},
    {false, "         the X740 Module\n\n"},
    {true, "     /FD\n"},
    {false, "         Instead of using parameters IPD,SND and GWD, X740Flash will read file \n"},
    {false, "         ipd.cfg to set the IP-Data the X740-Module will use in normal\n"},
    {false, "         operation mode\n\n"},
    {true, "     /BNZ\n"},
    {false, "         When transferring firmware with version >2.0 X740Flash will install\n"},
    {false, "         the packed files APP.BNZ and FTPSERV.BNZ instead of APP.BIN\n"},
    {false, "         and FTPSERV.BIN\n\n"},
    {true, "     /F:"},
    {false, "Firmware\n"},
    {false, "         Name of firmware-file that will be transferred.When using \n"},
    {false, "         long filenames (like @PLC-X741-En Version 2.2.0.zio) set the \n"},
    {false, "         filename in quotation marks\n"},
    {false, "         Example: /F:\"C:\\Software\\X740\\@PLC-X741-En Version 2.2.0.ZIP\"\n\n"},
    {true, "     /STARTFTP\n"},
    {false, "         This Parameter will start the FTP-Server of the X740\n\n"},
};

} // namespace

void CConsoleOut::PrintUsage() {
    for (const UsagePiece& piece : kUsage) {
        if (piece.head) {
            PrintColored(piece.text, kAttrWhite);
        } else {
            Print(piece.text);
        }
    }
}

} // namespace flash
