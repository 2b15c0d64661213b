# mv_version_block(<target> FILEVERSION <v> PRODUCT <name> COPYRIGHT <text>
#                  [COMPANY <name>] [PRODUCTVERSION <v>])
#   Embeds the deliverable's version texts as a block of bytes that platform/version_block.h
#   reads back from the file: "MVVERBLK", a 32-bit little-endian length, the language block
#   "040704B0" and the pairs ProductName, FileVersion, CompanyName, LegalCopyright,
#   ProductVersion (each text zero-terminated), and a closing zero.
function(mv_version_block target)
    cmake_parse_arguments(ARG "" "FILEVERSION;PRODUCT;COPYRIGHT;COMPANY;PRODUCTVERSION" "" ${ARGN})
    if(NOT ARG_COMPANY)
        set(ARG_COMPANY "Kelvane")
    endif()
    if(NOT ARG_PRODUCTVERSION)
        set(ARG_PRODUCTVERSION "${ARG_FILEVERSION}")
    endif()
    set(payload "")
    foreach(text "040704B0"
            "ProductName" "${ARG_PRODUCT}" "FileVersion" "${ARG_FILEVERSION}"
            "CompanyName" "${ARG_COMPANY}" "LegalCopyright" "${ARG_COPYRIGHT}"
            "ProductVersion" "${ARG_PRODUCTVERSION}")
        string(HEX "${text}" hex)
        string(APPEND payload "${hex}00")
    endforeach()
    string(APPEND payload "00")
    string(LENGTH "${payload}" hexlen)
    math(EXPR len "${hexlen} / 2")
    math(EXPR b0 "${len} & 255" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR b1 "(${len} >> 8) & 255" OUTPUT_FORMAT HEXADECIMAL)
    string(HEX "MVVERBLK" magic)
    set(all "${magic}")
    foreach(b ${b0} ${b1})
        string(REGEX REPLACE "^0x" "" b "${b}")
        string(LENGTH "${b}" bl)
        if(bl EQUAL 1)
            set(b "0${b}")
        endif()
        string(APPEND all "${b}")
    endforeach()
    string(APPEND all "0000${payload}")
    string(REGEX REPLACE "([0-9a-fA-F][0-9a-fA-F])" "0x\\1," bytes "${all}")
    set(out ${CMAKE_BINARY_DIR}/version_blocks/${target}_version.cpp)
    string(CONCAT text "// Version block of ${target}, written by the build.\n"
           "namespace {\n"
           "[[gnu::used, gnu::section(\".mv_version\")]] const unsigned char kVersionBlock[] = {\n"
           "${bytes}\n};\n}\n")
    if(EXISTS ${out})
        file(READ ${out} old)
    endif()
    if(NOT old STREQUAL text)
        file(WRITE ${out} "${text}")
    endif()
    target_sources(${target} PRIVATE ${out})
endfunction()
