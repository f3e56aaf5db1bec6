// Kamvio.Camera from JScript: lists the cameras, connects the first, sets the white balance by
// its label, takes a photo and prints every file it saved, then shows what an error looks like.
//
//   cscript //nologo take_photo.js [save folder]
//
// CDSDK.dll must be found by the script host: in the current folder or a folder on PATH.
var camera = new ActiveXObject("Kamvio.Camera");
var fso = new ActiveXObject("Scripting.FileSystemObject");
if (WScript.Arguments.length > 0) camera.SaveFolder = WScript.Arguments(0);

// Lists come back as automation arrays; VBArray turns them into JScript arrays.
WScript.Echo("cameras: " + camera.CameraCount);
var names = new VBArray(camera.CameraNames()).toArray();
for (var i = 0; i < names.length; i++) WScript.Echo("camera " + i + ": " + names[i]);

camera.Connect(0);
WScript.Echo("connected: " + camera.CameraName);

var label = "Cloudy";
camera.SetSetting("WhiteBalance", label);
WScript.Echo("WhiteBalance set to " + label + ", reads " + camera.GetSetting("WhiteBalance"));

// Waits for the shot (30 s at most) and returns the full path of every file it saved.
var files = new VBArray(camera.TakePhoto(30000)).toArray();
for (var f = 0; f < files.length; f++)
    WScript.Echo("file: " + files[f] + " (" + fso.GetFile(files[f]).Size + " bytes)");

camera.Disconnect();

// A member that fails throws an error with a description; no message box appears.
try {
    camera.TakePhoto();
} catch (e) {
    WScript.Echo("error " + (e.number >>> 0).toString(16).toUpperCase() + ": " + e.description);
}
