' Kamvio.Camera from VBScript: lists the cameras, connects the first, sets the white balance by
' its label, takes a photo and prints every file it saved, then shows what an error looks like.
'
'   cscript //nologo take_photo.vbs [save folder]
'
' CDSDK.dll must be found by the script host: in the current folder or a folder on PATH.
Option Explicit

Dim camera, fso, names, i, files, file, label
Set fso = CreateObject("Scripting.FileSystemObject")
Set camera = CreateObject("Kamvio.Camera")
If WScript.Arguments.Count > 0 Then camera.SaveFolder = WScript.Arguments(0)

WScript.Echo "cameras: " & camera.CameraCount
names = camera.CameraNames
For i = 0 To UBound(names)
    WScript.Echo "camera " & i & ": " & names(i)
Next

camera.Connect 0
WScript.Echo "connected: " & camera.CameraName

label = "Daylight"
camera.SetSetting "WhiteBalance", label
WScript.Echo "WhiteBalance set to " & label & ", reads " & camera.GetSetting("WhiteBalance")

' Waits for the shot (30 s at most) and returns the full path of every file it saved.
files = camera.TakePhoto(30000)
For Each file In files
    WScript.Echo "file: " & file & " (" & fso.GetFile(file).Size & " bytes)"
Next

' A member that fails raises an error with a description; no message box appears.
On Error Resume Next
camera.Connect 99
WScript.Echo "error " & Hex(Err.Number) & ": " & Err.Description
On Error GoTo 0

camera.Disconnect
