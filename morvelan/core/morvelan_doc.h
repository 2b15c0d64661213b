// The project document: the project texts and the stations with their tiles, read from and
// written to the project file (*.mvl), kept as Config.mvl on closing, with the channel masks of
// every module in the mask file, and compared with what a connected controller reports.
#pragma once

#include "morvelan/core/station.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CModuleDescription;

// Constants of the project file.
inline constexpr const char* kProjectInfo = "Morvelan";
inline constexpr const char* kAutosaveName = "Config.mvl";
inline constexpr const char* kDefaultMaskName = "mask.msk";
// Bytes the line breaks of the comment are stored as, so that it stands on one line.
constexpr char kStoredCr = 29;
constexpr char kStoredLf = 26;
// Limits of a readable project: more stations or tiles are taken for a damaged file.
constexpr int kMaxStations = 4096;
constexpr int kMaxTilesPerStation = 1024;
// The most tiles a whole project may hold (what fits a desktop's memory).
constexpr int kMaxProjectTiles = 65536;

class CMorvelanDoc {
public:
    CMorvelanDoc();
    virtual ~CMorvelanDoc();
    CMorvelanDoc(const CMorvelanDoc&) = delete;
    CMorvelanDoc& operator=(const CMorvelanDoc&) = delete;

    // New project: empty texts and no stations, rack layout, unknown-module flag cleared.
    int OnNewDocument();
    // Reads a project file into the document (the contents are replaced). A missing file gives
    // an empty project. 1 on success; 0 when the file holds a type name the catalogue lacks
    // (reported; the stations read before it stay, the unknown-module flag is set, and the
    // document forgets its path and title). A file that cannot be read, has no [MAIN] section
    // or counts more than the limits above is refused with a message before anything changes:
    // 0, the open project stays.
    int OnOpenDocument(const std::string& path);
    // Writes the project file whole through a temporary file and one rename; the previous file
    // stays untouched on failure (one message "SAVE <section>"). 1 on success.
    int OnSaveDocument(const std::string& path);
    // The Open command: reads the file and, on success, takes its path and title and clears the
    // unknown-module flag.
    int OpenProject(const std::string& path);
    // The Save and Save As commands. Both refuse while the unknown-module flag is set. 1 when
    // the project was written.
    int OnFileSave();
    int OnFileSaveAs();
    // Closing: Config.mvl when LOADLAST is 1, the mask file when no mask name was given (both
    // skipped while the unknown-module flag is set), then the contents are deleted.
    void OnCloseDocument();
    void DeleteContents();

    // Station operations.
    // Puts a new tile into a station: a head starts a new station, a board joins the station of
    // the selected tile (or the last station when none is selected). 1.
    int AddModuleToGroup(std::unique_ptr<CModuleTile> tile);
    // Inserts a board at index (1 .. tile count) of the selected tile's station. Heads, a missing
    // selection and bad indexes are refused: null, and `tile` stays with the caller.
    CModuleTile* InsertModuleAt(std::unique_ptr<CModuleTile>& tile, int index);
    // Takes the board at index out of a station; the tile goes to `removed` (destroyed when
    // null). Returns the tile to select next: the one now at index, or the last one.
    CModuleTile* RemoveModuleAt(int station, int index,
                                std::unique_ptr<CModuleTile>* removed = nullptr);
    void DeleteGroup(int station);
    void HideAllModules();

    // Byte layouts of a station (see CStation). A bad station index gives 0 bytes.
    int GatherGroupData(int station, std::uint8_t* buffer, int size, int& total);
    int BuildModuleTable(int station, std::uint8_t* buffer, int size, int& length);
    void DistributeInputs(int station, const std::uint8_t* bytes);

    // The mask file.
    int SaveMaskFile();
    int LoadMaskFile(const std::string& name);
    int LoadDefaultMaskFile();
    // Full path of a mask file name (absolute names stay as they are).
    std::string MaskPath(const std::string& name) const;
    std::string AutosavePath() const;

    // 1 when the station matches the connected controller, 0 when not, -1 without connection.
    int CheckAgainstController(int station);

    // Replaces the project by the stations of an archive of the older binary format. 1 when the
    // file was opened (a refused version too), 0 when not. An import that does not complete
    // (unreadable file, refused version, damaged archive, unknown type) leaves the document
    // without path and title: what it holds is no longer the file it was opened from.
    int ImportV152(const std::string& path);

    int StationCount() const { return static_cast<int>(m_Stations.size()); }
    CStation* Station(int index) const;
    CStation* AppendStation();

    std::string m_Comment;
    std::string m_Date;
    std::string m_Company;
    std::string m_Author;
    std::string m_Name;

    std::string m_PathName;  // empty until the project was opened or saved
    std::string m_Title;

private:
    // Writes every section into a file (no batch, no temporary file). A value that cannot be
    // written is reported and the writing goes on; 0 when there was one.
    int WriteProject(const std::string& path);
    // Reads the tiles of one station; false when reading must stop.
    bool ReadStation(int index, int prints, const std::string& path);
    // Whether a file can be opened as a project, with the tile count of each station; tells
    // the user why not.
    bool CheckProjectFile(const std::string& path, std::vector<int>& prints);
    // Makes a tile for a description and places it at the end of a station.
    CModuleTile* PlaceTile(int station, const CModuleDescription* description,
                           bool showBoards);
    // The unknown type name message.
    void ReportUnknownType(const std::string& name, const std::string& where);
    // After a read that replaced the contents and stopped: the document is no longer the file
    // it came from, so Save must ask for a name.
    void ForgetFile();
    // Index of the station holding a tile, or -1.
    int StationOf(const CModuleTile* tile) const;
    // Whether the save commands may write; shows the refusal when not.
    bool SaveAllowed();
    int SaveAsTo(const std::string& path);

    std::vector<std::unique_ptr<CStation>> m_Stations;
};

// The comment as it stands in the project file, and back.
std::string EncodeComment(const std::string& comment);
std::string DecodeComment(const std::string& stored);
// The type name of a description file name: up to the first "." after any leading dots.
std::string TypeNameOf(const std::string& fileName);
