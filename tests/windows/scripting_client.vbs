' A late-bound scripting client: creates both classes by programmatic identifier and calls
' their methods by name.
Set quillmark = CreateObject("Quillmark.CQuillmark")
WScript.Echo "login=" & quillmark.GetLoginName()
Set zone = CreateObject("Quillmark.CTimeZone")
WScript.Echo "omitted=" & zone.GetCurrentTimeZone()
WScript.Echo "true=" & zone.GetCurrentTimeZone(True)
WScript.Echo "false=" & zone.GetCurrentTimeZone(False)
