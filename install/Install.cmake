# Installation of the program folder: deliverables, data, the machine store naming the folder,
# a desktop entry and the MIME type of project files (*.mvl).

set(MV_INSTALL_DIR "lib/morvelan" CACHE STRING "Program folder below the installation prefix")

# mv_write_machine_store(<file> <program folder>)
#   Writes the machine settings store with the value Install = the program folder.
function(mv_write_machine_store file folder)
    string(REPLACE "\\" "\\\\" escaped "${folder}")
    set(text "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"${escaped}\"\r\n")
    if(EXISTS ${file})
        file(READ ${file} old)
        if(old STREQUAL text)
            return()
        endif()
    endif()
    file(WRITE ${file} "${text}")
endfunction()

# mv_install_program_folder(<data files>)
#   Install rules for everything that makes up the program folder.
function(mv_install_program_folder data_files)
    set(dest ${MV_INSTALL_DIR})
    foreach(target morvelan X740Flash Portwire X740_Core X740_Cam X740_Gate X740_Logic X740Panel)
        if(TARGET ${target})
            install(TARGETS ${target} RUNTIME DESTINATION ${dest} LIBRARY DESTINATION ${dest})
        endif()
    endforeach()
    foreach(src IN LISTS data_files)
        file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/data ${src})
        get_filename_component(sub ${rel} DIRECTORY)
        install(FILES ${src} DESTINATION ${dest}/${sub})
    endforeach()

    set(tool_dir ${CMAKE_SOURCE_DIR}/install)
    configure_file(${tool_dir}/morvelan.desktop.in ${CMAKE_CURRENT_BINARY_DIR}/morvelan.desktop @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/morvelan.desktop DESTINATION share/applications)
    install(FILES ${tool_dir}/morvelan-mime.xml DESTINATION share/mime/packages
            RENAME morvelan.xml)
    # The program's icon in the icon theme, for the desktop entry and the project file type.
    file(GLOB icons ${CMAKE_SOURCE_DIR}/data/icons/morvelan-*.png)
    foreach(icon IN LISTS icons)
        string(REGEX REPLACE ".*morvelan-([0-9]+)\\.png$" "\\1" size ${icon})
        install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps
                RENAME morvelan.png)
    endforeach()
    # The machine store names the installed folder; links in bin start the programs.
    install(CODE "
        set(folder \"\${CMAKE_INSTALL_PREFIX}/${dest}\")
        include(${tool_dir}/Install.cmake)
        mv_write_machine_store(\"\$ENV{DESTDIR}\${folder}/machine.reg\" \"\${folder}\")
        message(STATUS \"Installing: \$ENV{DESTDIR}\${folder}/machine.reg\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
        foreach(program morvelan X740Flash)
            file(CREATE_LINK \"../${dest}/\${program}\"
                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${program}\" SYMBOLIC)
        endforeach()
        ")
endfunction()
