' VBScript passes variables by reference: the control reads them through and
' leaves them as they were. Prints failures and a summary line.
Option Explicit
Dim c, checks, failures
checks = 0 : failures = 0
Sub Check(ok, what)
  checks = checks + 1
  If Not ok Then
    failures = failures + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

Class Elem
  Public className
  Public parentElement
End Class

' A selection whose ranges hold no element: parentSelection has no object to give.
Class EmptyRange
  Public Function parentElement()
    Set parentElement = Nothing
  End Function
  Public Function item(i)
    Set item = New Elem : Set item.parentElement = Nothing
  End Function
End Class
Class Selection
  Public type
  Public Function createRange()
    Set createRange = New EmptyRange
  End Function
End Class
Class Doc
  Public selection
End Class
Class Win
  Public document
End Class

' A segment list with no segments: the current segment is the list itself.
Class NoItems
  Public length
  Public Function item(i)
    Set item = Nothing
  End Function
  Public Function tags(name)
    Set tags = Me
  End Function
End Class
Class SegmentList
  Public all
  Public uniqueID
  Public tq_mode
  Public Function getAttribute(name)
    getAttribute = Null
  End Function
End Class

Set c = CreateObject("reVoziz.tq")
Dim outer, inner, cls, t, s, n
Set outer = New Elem : outer.className = "wrapper" : Set outer.parentElement = Nothing
Set inner = New Elem : inner.className = "" : Set inner.parentElement = outer
cls = "WRAPPER"
Check c.classContains(cls, inner), "classContains with variables"
Check cls = "WRAPPER", "the class name variable is unchanged"
t = 3725.5
Check c.secondsToTime(t) = "01:02:06", "a real variable rounds half to even"
Check t = 3725.5, "the number variable is unchanged"
s = "1:01:01"
Check c.timeToSeconds(s) = 3661, "timeToSeconds with a variable"
n = "12"
Check c.max(n, 3) = 12, "a numeric text variable"

' Object results: an element to Set, or Nothing.
Dim w, e, list
Set w = New Win : Set w.document = New Doc : Set w.document.selection = New Selection
w.document.selection.type = "Text"
Set e = c.parentSelection(w)
Check e Is Nothing, "parentSelection of a text range without an element is Nothing"
w.document.selection.type = "Control"
Set e = inner
Set e = c.parentSelection(w)
Check e Is Nothing, "parentSelection of a control without a parent is Nothing"
Set list = New SegmentList : Set list.all = New NoItems : list.all.length = 0 : list.uniqueID = "l1" : list.tq_mode = ""
Set e = Nothing
Set e = c.getCurrentSegment(list, 5)
Check e Is list, "getCurrentSegment of a list without segments is the list"

On Error Resume Next
c.goTo_ s
Check Err.Number = 424, "object required arrives as error 424, got " & Err.Number
Err.Clear
c.min "abc", 1
Check Err.Number = 13, "type mismatch arrives as error 13, got " & Err.Number
On Error Goto 0

WScript.Echo checks & " by-reference checks, " & failures & " failed"
WScript.Quit failures
