@echo off
rem Builds the scenery of Ascendor projects without opening the window, one
rem after the other, and stops at the first that fails. scasm.exe must be on
rem the PATH or beside the projects. List your own projects in the brackets
rem below; the sources and the .bgl files are written beside each project,
rem and what Ascendor did goes to build.log in this folder.

setlocal
rem Ascendor.exe one folder up, as the release package lays it out.
set ASCENDOR=%~dp0..\Ascendor.exe

for %%P in ("%~dp0sample.prj") do (
    echo Building %%~P
    start "" /wait "%ASCENDOR%" /create "%%~P" >> "%~dp0build.log"
    if errorlevel 1 (
        echo %%~P was not built: see build.log
        exit /b 1
    )
)
echo All projects built; see build.log.
