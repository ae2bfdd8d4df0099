; A piece of application code written in the shape of a real PureBasic program, for
; measuring the proportions that the real-shaped generator copies (see
; bench/real_shaped_project.cpp). It is only read, never compiled.
EnableExplicit

Structure BrowserState
  ProcedureBrowserScroll.l
  ProcedureBrowserSort.i
  Title$
  Count.i
EndStructure

Global ProcedureBrowserSort = 0
Global NewList items.s()
Global state.BrowserState

DeclareModule Config
  Declare.s GetSetting(key$, default$ = "")
  Declare SetSetting(key$, value$)
EndDeclareModule

Module Config
  Global NewMap settings.s()

  Procedure.s GetSetting(key$, default$ = "")
    If FindMapElement(settings(), LCase(key$))
      ProcedureReturn settings()
    EndIf
    ProcedureReturn default$
  EndProcedure

  Procedure SetSetting(key$, value$)
    settings(LCase(key$)) = value$
  EndProcedure
EndModule

Procedure.s FormatSize(size.q)
  If size < 1024
    ProcedureReturn Str(size) + " B"
  EndIf
  ProcedureReturn StrF(size / 1024.0, 1) + " KB"
EndProcedure

Procedure UpdateStatus(text$)
  StatusBarText(0, 0, text$)
  Debug "status: " + text$
EndProcedure

Procedure.i CountItems()
  ProcedureReturn ListSize(items())
EndProcedure

Procedure RefreshBrowser(gadget)
  Protected i, total.q
  ClearGadgetItems(gadget)
  ForEach items()
    AddGadgetItem(gadget, -1, items() + Chr(10) + FormatSize(Len(items())))
    total + Len(items())
  Next
  UpdateStatus(Str(CountItems()) + " items, " + FormatSize(total))
  ; keep the sort column that RefreshBrowser had before
  ProcedureBrowserSort = GetGadgetState(gadget)
EndProcedure

Procedure LoadItems(path$)
  Protected file = ReadFile(#PB_Any, path$)
  If file = 0
    UpdateStatus("Cannot open " + path$) : ProcedureReturn #False
  EndIf
  ClearList(items())
  While Eof(file) = 0
    AddElement(items()) : items() = ReadString(file)
  Wend
  CloseFile(file)
  Config::SetSetting("last", path$)
  ProcedureReturn #True
EndProcedure

Procedure SortItems(descending)
  If descending
    SortList(items(), #PB_Sort_Descending | #PB_Sort_NoCase)
  Else
    SortList(items(), #PB_Sort_Ascending | #PB_Sort_NoCase)
  EndIf
  state\ProcedureBrowserSort = descending
EndProcedure

Procedure.s DescribeItem(index)
  SelectElement(items(), index)
  ProcedureReturn "Item " + Str(index + 1) + " of " + Str(CountItems()) + ": " + items() + " (" + FormatSize(Len(items())) + ", sorted " + Config::GetSetting("sort", "no") + ", last file " + Config::GetSetting("last") + ")"
EndProcedure

Procedure OnMenu(menu)
  Select menu
    Case 1
      If LoadItems(Config::GetSetting("last")) And CountItems() > 0
        SortItems(Val(Config::GetSetting("descending", "0"))) : RefreshBrowser(1)
      EndIf
    Case 2
      SortItems(#True) : RefreshBrowser(1) : UpdateStatus(DescribeItem(0))
    Case 3
      UpdateStatus(DescribeItem(GetGadgetState(1)))
  EndSelect
EndProcedure

Procedure OpenMainWindow()
  If OpenWindow(0, 0, 0, 640, 480, "Browser", #PB_Window_SystemMenu | #PB_Window_ScreenCentered)
    CreateStatusBar(0, WindowID(0)) : AddStatusBarField(#PB_Ignore)
    ListIconGadget(1, 0, 0, 640, 440, "Name", 400, #PB_ListIcon_FullRowSelect)
    AddGadgetColumn(1, 1, "Size", 200)
    ProcedureReturn #True
  EndIf
  ProcedureReturn #False
EndProcedure

If OpenMainWindow()
  LoadItems(Config::GetSetting("last", "items.txt"))
  RefreshBrowser(1)
  Repeat
    Define event = WaitWindowEvent()
    If event = #PB_Event_Menu
      OnMenu(EventMenu())
    EndIf
  Until event = #PB_Event_CloseWindow
EndIf
