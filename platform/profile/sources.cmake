# The profile-string (INI) functions, the typed settings layer over them, and GUIDs.
set(platform_profile_sources
    Guid.cpp
    profile/IniDocument.cpp
    profile/Profile.cpp
    profile/ProfileFile.cpp
    profile/ProfileValues.cpp
)
