# The profile-string (INI) functions and the typed settings layer over them.
set(platform_profile_sources
    profile/DocumentCache.cpp
    profile/IniDocument.cpp
    profile/Profile.cpp
    profile/ProfileFile.cpp
    profile/ProfileValues.cpp
)
